#pragma once
// The run-time error of the product: an exception carrying the description that an
// error trap reports to the user.
#include <QString>
#include <stdexcept>

namespace qmx44 {

class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(const QString &description)
        : std::runtime_error(description.toStdString()), m_description(description)
    {
    }
    const QString &description() const noexcept { return m_description; }

private:
    QString m_description;
};

// The description of whatever was thrown, for handlers that report any failure.
inline QString describe(const std::exception &e)
{
    if (auto *r = dynamic_cast<const RuntimeError *>(&e))
        return r->description();
    return QString::fromUtf8(e.what());
}

} // namespace qmx44
