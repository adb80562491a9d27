#include "platform/host/padre.h"

#include "platform/core/error.h"

#include <QMetaProperty>

namespace qmx44::host {

Padre::Padre(QObject *parent) : QObject(parent) {}

bool Padre::hasMember(const QString &memberName) const
{
    const QByteArray name = memberName.toUtf8();
    return dynamicPropertyNames().contains(name) || metaObject()->indexOfProperty(name.constData()) >= 0;
}

QVariant Padre::member(const QString &memberName) const
{
    if (!hasMember(memberName))
        throw RuntimeError(QStringLiteral("El objeto no admite esta propiedad o método: %1").arg(memberName));
    return property(memberName.toUtf8().constData());
}

void Padre::setMember(const QString &memberName, const QVariant &value)
{
    setProperty(memberName.toUtf8().constData(), value);
}

void Padre::close()
{
    if (m_closed)
        return;
    m_closed = true;
    emit closed();
}

} // namespace qmx44::host
