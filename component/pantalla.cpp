#include "component/pantalla.h"

#include "component/prog_id.h"
#include "component/publico.h"
#include "platform/core/error.h"
#include "platform/core/faults.h"

#include <QDebug>

namespace qmx44::component {

Pantalla::Pantalla(std::weak_ptr<Publico> publicObject, QObject *parent)
    : QObject(parent), m_component(std::move(publicObject))
{
}

QVariant Pantalla::GetPantalla()
{
    try {
        auto publicObject = m_component.lock();
        if (!publicObject) {
            qWarning().noquote() << ProgId << "GetPantalla: the component is already closed";
            return QVariant();
        }
        publicObject->context().session->check(faults::PantallaGetPantalla);
        QObject *form = &publicObject->pantalla();
        return QVariant::fromValue(form);
    } catch (const std::exception &e) {
        // The host gets no form and nothing is shown: it decides what to tell the user.
        // The log says why.
        qWarning().noquote() << ProgId << "GetPantalla:" << describe(e);
        return QVariant();
    } catch (...) {
        qWarning().noquote() << ProgId << "GetPantalla: unknown error";
        return QVariant();
    }
}

QVariant Pantalla::Modulo() const
{
    return QStringLiteral("COMPRAS");
}

} // namespace qmx44::component
