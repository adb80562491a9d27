#include "platform/business/print/print_template.h"

#include <cmath>

namespace qmx44::business::print {

namespace {

const QString kOpenTag = QStringLiteral("{{");
const QString kCloseTag = QStringLiteral("}}");

class TemplateFill {
public:
    explicit TemplateFill(const PrintData &data) : m_data(data) {}

    QString fill(const QString &text, qsizetype from, qsizetype to, const FieldValues *item) const
    {
        QString output;
        qsizetype pos = from;
        while (pos < to) {
            const qsizetype openAt = text.indexOf(kOpenTag, pos);
            if (openAt < 0 || openAt >= to) {
                output += QStringView(text).mid(pos, to - pos);
                break;
            }
            output += QStringView(text).mid(pos, openAt - pos);
            const qsizetype closeAt = text.indexOf(kCloseTag, openAt + 2);
            if (closeAt < 0 || closeAt + 2 > to) {
                output += QStringView(text).mid(openAt, to - openAt);
                break;
            }
            const QString labelName = text.mid(openAt + 2, closeAt - openAt - 2).trimmed();
            pos = closeAt + 2;
            if (labelName.startsWith(u'#') || labelName.startsWith(u'^')) {
                const QString name = labelName.mid(1).trimmed();
                qsizetype contentEnd = to, after = to;
                findEnd(text, name, pos, to, contentEnd, after);
                output += section(text, name, labelName.startsWith(u'^'), pos, contentEnd, item);
                pos = after;
            } else if (!labelName.startsWith(u'/')) {
                output += escapeHtml(fieldValue(labelName, item));
            }
        }
        return output;
    }

private:
    QString section(const QString &text, const QString &name, bool reversed, qsizetype from, qsizetype to,
                    const FieldValues *item) const
    {
        const auto list = m_data.lists.constFind(name);
        if (list != m_data.lists.cend()) {
            if (reversed)
                return list->isEmpty() ? fill(text, from, to, item) : QString();
            QString output;
            for (const FieldValues &element : *list)
                output += fill(text, from, to, &element);
            return output;
        }
        const bool hasValue = !fieldValue(name, item).isEmpty();
        return hasValue != reversed ? fill(text, from, to, item) : QString();
    }

    // The matching {{/nombre}}, counting nested sections of the same name.
    static void findEnd(const QString &text, const QString &name, qsizetype from, qsizetype to, qsizetype &contentEnd,
                        qsizetype &after)
    {
        int level = 1;
        qsizetype pos = from;
        while (pos < to) {
            const qsizetype openAt = text.indexOf(kOpenTag, pos);
            if (openAt < 0 || openAt >= to)
                break;
            const qsizetype closeAt = text.indexOf(kCloseTag, openAt + 2);
            if (closeAt < 0 || closeAt + 2 > to)
                break;
            const QString labelName = text.mid(openAt + 2, closeAt - openAt - 2).trimmed();
            const QChar type = labelName.isEmpty() ? QChar() : labelName.at(0);
            if ((type == u'#' || type == u'^') && labelName.mid(1).trimmed() == name) {
                ++level;
            } else if (type == u'/' && labelName.mid(1).trimmed() == name && --level == 0) {
                contentEnd = openAt;
                after = closeAt + 2;
                return;
            }
            pos = closeAt + 2;
        }
        contentEnd = to;
        after = to;
    }

    QString fieldValue(const QString &name, const FieldValues *item) const
    {
        if (item) {
            const auto it = item->constFind(name);
            if (it != item->cend())
                return *it;
        }
        return m_data.fields.value(name);
    }

    static QString escapeHtml(const QString &text)
    {
        QString html = text.toHtmlEscaped();
        html.replace(QLatin1String("\r\n"), QLatin1String("<br/>"));
        html.replace(QLatin1Char('\n'), QLatin1String("<br/>"));
        return html;
    }

    const PrintData &m_data;
};

QString groupThousands(const QString &integerPart)
{
    QString output;
    const qsizetype n = integerPart.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            output += u',';
        output += integerPart.at(i);
    }
    return output;
}

} // namespace

QString fillTemplate(const QString &templateText, const PrintData &data)
{
    return TemplateFill(data).fill(templateText, 0, templateText.size(), nullptr);
}

QString formatAmount(double fieldValue, int decimals)
{
    if (!std::isfinite(fieldValue))
        return QString::number(fieldValue);
    const double scale = std::pow(10.0, decimals);
    double rounded = std::round(std::abs(fieldValue) * scale) / scale;
    const bool negative = fieldValue < 0 && rounded != 0;
    const QString text = QString::number(rounded, 'f', decimals);
    const qsizetype decimalPoint = text.indexOf(u'.');
    const QString integerPart = decimalPoint < 0 ? text : text.left(decimalPoint);
    const QString fraction = decimalPoint < 0 ? QString() : text.mid(decimalPoint);
    return (negative ? QStringLiteral("-") : QString()) + groupThousands(integerPart) + fraction;
}

QString formatQuantity(double fieldValue, int decimals)
{
    QString text = formatAmount(fieldValue, decimals);
    if (text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    return text;
}

} // namespace qmx44::business::print
