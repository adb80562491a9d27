#include "platform/services/folio.h"

namespace qmx44::services {

namespace {
bool esDigito(QChar c) { return c >= u'0' && c <= u'9'; }
} // namespace

QString normalizarFolio(const QString &tecleado, int ancho)
{
    if (ancho < 1)
        ancho = kAnchoFolio;
    const QString folio = tecleado.trimmed().toUpper();
    if (folio.isEmpty() || folio.size() >= ancho)
        return folio;

    qsizetype letras = 0;
    while (letras < folio.size() && folio.at(letras).isLetter())
        ++letras;
    qsizetype digitos = 0;
    while (letras + digitos < folio.size() && esDigito(folio.at(letras + digitos)))
        ++digitos;
    if (digitos == 0 || letras + digitos != folio.size())
        return folio;
    return folio.left(letras) + folio.mid(letras).rightJustified(ancho - letras, u'0');
}

} // namespace qmx44::services
