#pragma once
// The programmatic identifier by which a host creates the component's public class
// Pantalla. The plug-in's metadata (qmx44_component.json) carries the same text for the
// loader, which reads it before the plug-in's code.
#include <QString>

namespace qmx44::component {

inline const QString ProgId = QStringLiteral("QMX44.Pantalla");

} // namespace qmx44::component
