#pragma once
// The validation statement of the cause field: a cause of a bonus note is any live
// cause except the return cause and the rejection cause named by the parameters.
#include <QString>

namespace qmx44::screen {

// The statement, with its '?' for the field's text. Both keys are spliced through the
// quoting helper, so a quote in a parameter cannot end its literal.
QString causeLookupStatement(const QString &returnCause, const QString &rejectionCause);

} // namespace qmx44::screen
