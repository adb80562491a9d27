#pragma once
// The coded message as the intake handlers show it: owned by the main form, under the
// module tag "QMX44".
#include <QString>

namespace qmx44::screen {
class FrmQMX44;
}

namespace qmx44::intake {

inline constexpr int EstiloError = 16;
inline constexpr int EstiloAviso = 48;
inline constexpr int EstiloInformacion = 64;

// Sistema.Mensaje with the main form's window handle and "QMX44"; the answer is ignored.
void mensaje(screen::FrmQMX44 &frm, const QString &texto, int estilo, const QString &titulo,
             const QString &id);

} // namespace qmx44::intake
