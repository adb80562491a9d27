#include "platform/business/print/plantilla.h"

#include <cmath>

namespace qmx44::business::print {

namespace {

const QString kAbre = QStringLiteral("{{");
const QString kCierra = QStringLiteral("}}");

class Llenado {
public:
    explicit Llenado(const DatosImpresion &datos) : m_datos(datos) {}

    QString llenar(const QString &texto, qsizetype desde, qsizetype hasta, const Valores *item) const
    {
        QString salida;
        qsizetype pos = desde;
        while (pos < hasta) {
            const qsizetype abre = texto.indexOf(kAbre, pos);
            if (abre < 0 || abre >= hasta) {
                salida += QStringView(texto).mid(pos, hasta - pos);
                break;
            }
            salida += QStringView(texto).mid(pos, abre - pos);
            const qsizetype cierra = texto.indexOf(kCierra, abre + 2);
            if (cierra < 0 || cierra + 2 > hasta) {
                salida += QStringView(texto).mid(abre, hasta - abre);
                break;
            }
            const QString etiqueta = texto.mid(abre + 2, cierra - abre - 2).trimmed();
            pos = cierra + 2;
            if (etiqueta.startsWith(u'#') || etiqueta.startsWith(u'^')) {
                const QString nombre = etiqueta.mid(1).trimmed();
                qsizetype finContenido = hasta, despues = hasta;
                buscarFin(texto, nombre, pos, hasta, finContenido, despues);
                salida += seccion(texto, nombre, etiqueta.startsWith(u'^'), pos, finContenido, item);
                pos = despues;
            } else if (!etiqueta.startsWith(u'/')) {
                salida += escapar(valor(etiqueta, item));
            }
        }
        return salida;
    }

private:
    QString seccion(const QString &texto, const QString &nombre, bool invertida, qsizetype desde,
                    qsizetype hasta, const Valores *item) const
    {
        const auto lista = m_datos.listas.constFind(nombre);
        if (lista != m_datos.listas.cend()) {
            if (invertida)
                return lista->isEmpty() ? llenar(texto, desde, hasta, item) : QString();
            QString salida;
            for (const Valores &elemento : *lista)
                salida += llenar(texto, desde, hasta, &elemento);
            return salida;
        }
        const bool hayValor = !valor(nombre, item).isEmpty();
        return hayValor != invertida ? llenar(texto, desde, hasta, item) : QString();
    }

    // The matching {{/nombre}}, counting nested sections of the same name.
    static void buscarFin(const QString &texto, const QString &nombre, qsizetype desde, qsizetype hasta,
                          qsizetype &finContenido, qsizetype &despues)
    {
        int nivel = 1;
        qsizetype pos = desde;
        while (pos < hasta) {
            const qsizetype abre = texto.indexOf(kAbre, pos);
            if (abre < 0 || abre >= hasta)
                break;
            const qsizetype cierra = texto.indexOf(kCierra, abre + 2);
            if (cierra < 0 || cierra + 2 > hasta)
                break;
            const QString etiqueta = texto.mid(abre + 2, cierra - abre - 2).trimmed();
            const QChar tipo = etiqueta.isEmpty() ? QChar() : etiqueta.at(0);
            if ((tipo == u'#' || tipo == u'^') && etiqueta.mid(1).trimmed() == nombre) {
                ++nivel;
            } else if (tipo == u'/' && etiqueta.mid(1).trimmed() == nombre && --nivel == 0) {
                finContenido = abre;
                despues = cierra + 2;
                return;
            }
            pos = cierra + 2;
        }
        finContenido = hasta;
        despues = hasta;
    }

    QString valor(const QString &nombre, const Valores *item) const
    {
        if (item) {
            const auto it = item->constFind(nombre);
            if (it != item->cend())
                return *it;
        }
        return m_datos.campos.value(nombre);
    }

    static QString escapar(const QString &texto)
    {
        QString html = texto.toHtmlEscaped();
        html.replace(QLatin1String("\r\n"), QLatin1String("<br/>"));
        html.replace(QLatin1Char('\n'), QLatin1String("<br/>"));
        return html;
    }

    const DatosImpresion &m_datos;
};

QString separarMiles(const QString &entero)
{
    QString salida;
    const qsizetype n = entero.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            salida += u',';
        salida += entero.at(i);
    }
    return salida;
}

} // namespace

QString llenarPlantilla(const QString &plantilla, const DatosImpresion &datos)
{
    return Llenado(datos).llenar(plantilla, 0, plantilla.size(), nullptr);
}

QString formatoImporte(double valor, int decimales)
{
    if (!std::isfinite(valor))
        return QString::number(valor);
    const double escala = std::pow(10.0, decimales);
    double redondeado = std::round(std::abs(valor) * escala) / escala;
    const bool negativo = valor < 0 && redondeado != 0;
    const QString texto = QString::number(redondeado, 'f', decimales);
    const qsizetype punto = texto.indexOf(u'.');
    const QString entero = punto < 0 ? texto : texto.left(punto);
    const QString fraccion = punto < 0 ? QString() : texto.mid(punto);
    return (negativo ? QStringLiteral("-") : QString()) + separarMiles(entero) + fraccion;
}

QString formatoCantidad(double valor, int decimales)
{
    QString texto = formatoImporte(valor, decimales);
    if (texto.contains(u'.')) {
        while (texto.endsWith(u'0'))
            texto.chop(1);
        if (texto.endsWith(u'.'))
            texto.chop(1);
    }
    return texto;
}

} // namespace qmx44::business::print
