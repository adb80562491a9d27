#include "screen/draft.h"

#include "platform/core/error.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace qmx44::screen {

namespace {

QJsonObject pairsJson(const std::vector<std::pair<QString, QString>> &pairs)
{
    QJsonObject o;
    for (const auto &[name, value] : pairs)
        o.insert(name, value);
    return o;
}

RuntimeError malformed(const QString &what)
{
    return RuntimeError(QStringLiteral("el borrador no es válido (%1)").arg(what));
}

} // namespace

QByteArray Draft::toJson(bool withMoment) const
{
    QJsonObject o;
    o.insert(QStringLiteral("version"), Version);
    if (withMoment)
        o.insert(QStringLiteral("written"), written.toString(Qt::ISODate));
    if (modifying)
        o.insert(QStringLiteral("modifying"), noteFolio);
    o.insert(QStringLiteral("purchase"), purchase);
    o.insert(QStringLiteral("taken"), purchaseTaken);
    o.insert(QStringLiteral("lines"), lines);
    // A JSON object keeps no order: the fields go as [name, text] pairs.
    QJsonArray fieldList;
    for (const auto &[name, text] : fields)
        fieldList.append(QJsonArray{name, text});
    o.insert(QStringLiteral("fields"), fieldList);
    QJsonArray bonusList;
    for (const DraftBonus &b : bonuses)
        bonusList.append(QJsonObject{{QStringLiteral("row"), b.row},
                                     {QStringLiteral("line"), b.line},
                                     {b.percent ? QStringLiteral("percent") : QStringLiteral("amount"), b.value}});
    o.insert(QStringLiteral("bonuses"), bonusList);
    o.insert(QStringLiteral("additional"), pairsJson(additional));
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

Draft Draft::fromJson(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (!doc.isObject())
        throw malformed(error.error == QJsonParseError::NoError ? QStringLiteral("no es un objeto")
                                                                : error.errorString());
    const QJsonObject o = doc.object();
    if (o.value(QStringLiteral("version")).toInt() != Version)
        throw malformed(QStringLiteral("versión %1").arg(o.value(QStringLiteral("version")).toVariant().toString()));
    Draft d;
    d.written = QDateTime::fromString(o.value(QStringLiteral("written")).toString(), Qt::ISODate);
    if (!d.written.isValid())
        throw malformed(QStringLiteral("sin fecha"));
    d.modifying = o.contains(QStringLiteral("modifying"));
    d.noteFolio = o.value(QStringLiteral("modifying")).toString();
    d.purchase = o.value(QStringLiteral("purchase")).toString();
    d.purchaseTaken = o.value(QStringLiteral("taken")).toBool();
    d.lines = o.value(QStringLiteral("lines")).toString();
    for (const QJsonValue &f : o.value(QStringLiteral("fields")).toArray()) {
        const QJsonArray pair = f.toArray();
        if (pair.size() != 2 || !pair[0].isString() || !pair[1].isString())
            throw malformed(QStringLiteral("campo"));
        d.fields.emplace_back(pair[0].toString(), pair[1].toString());
    }
    for (const QJsonValue &v : o.value(QStringLiteral("bonuses")).toArray()) {
        const QJsonObject b = v.toObject();
        DraftBonus bonus;
        bonus.row = b.value(QStringLiteral("row")).toInt(-1);
        bonus.line = b.value(QStringLiteral("line")).toString();
        bonus.percent = b.contains(QStringLiteral("percent"));
        const QJsonValue value = b.value(bonus.percent ? QStringLiteral("percent") : QStringLiteral("amount"));
        if (bonus.row < 0 || !value.isDouble())
            throw malformed(QStringLiteral("bonificación"));
        bonus.value = value.toDouble();
        d.bonuses.push_back(bonus);
    }
    const QJsonObject additional = o.value(QStringLiteral("additional")).toObject();
    for (auto it = additional.begin(); it != additional.end(); ++it)
        d.additional.emplace_back(it.key(), it.value().toString());
    return d;
}

} // namespace qmx44::screen
