// Base control behaviour: enabled state, containers, focus and float geometry.
#include "platform/controls/control.h"

#include "platform/controls/form.h"
#include "platform/core/flag.h"

#include <cfloat>
#include <cmath>

namespace qmx44::controls {

Control::Control(Form &form, const QString &name, ControlKind kind) : m_form(form), m_name(name), m_kind(kind) {}

Control::~Control() = default;

void Control::setEnabled(bool on)
{
    if (m_enabled == on)
        return;
    m_enabled = on;
    enabledChanged();
    notifyWithContent(Aspect::Enabled);
    // A control (or frame content) that can no longer take the focus gives it up.
    if (Control *f = m_form.focused(); f && !f->canFocus())
        m_form.clearFocus();
}

void Control::setVisible(bool on)
{
    if (m_visible == on)
        return;
    m_visible = on;
    notifyWithContent(Aspect::Visible);
    if (Control *f = m_form.focused(); f && !f->canFocus())
        m_form.clearFocus();
}

void Control::notifyWithContent(Aspect aspect) const
{
    notify(aspect);
    for (const auto &c : m_form.controls())
        for (const Control *up = c->m_container; up; up = up->m_container)
            if (up == this) {
                c->notify(aspect);
                break;
            }
}

void Control::setContainer(Control *container)
{
    // A container chain must not loop back to this control.
    for (Control *c = container; c; c = c->m_container)
        if (c == this)
            return;
    m_container = container;
}

bool Control::effectivelyEnabled() const
{
    for (const Control *c = this; c; c = c->m_container)
        if (!c->m_enabled || !c->m_visible)
            return false;
    return true;
}

void Control::setTabIndex(int index)
{
    m_tabIndex = index;
    m_form.tabOrderChanged();
}

bool Control::canFocus() const
{
    return focusable() && effectivelyEnabled();
}

bool Control::setFocus()
{
    return m_form.focusControl(this);
}

bool Control::hasFocus() const
{
    return m_form.focused() == this;
}

bool Control::storeFloat(float &slot, double v, bool nonNegative)
{
    if (!std::isfinite(v) || std::fabs(v) > double(FLT_MAX))
        return false;
    if (nonNegative && v < 0)
        return false;
    slot = float(v);
    return true;
}

bool Control::storeGeometry(float &slot, double v, bool nonNegative)
{
    const float before = slot;
    if (!storeFloat(slot, v, nonNegative))
        return false;
    if (slot != before)
        notify(Aspect::Geometry);
    return true;
}

bool Control::setLeft(double v)
{
    return storeGeometry(m_left, v, false);
}
bool Control::setTop(double v)
{
    return storeGeometry(m_top, v, false);
}
bool Control::setWidth(double v)
{
    return storeGeometry(m_width, v, true);
}
bool Control::setHeight(double v)
{
    return storeGeometry(m_height, v, true);
}

bool Control::applySetting(const QString &name, const QVariant &value)
{
    const QString n = name.toLower();
    if (n == u"left")
        return setLeft(value.toDouble());
    if (n == u"top")
        return setTop(value.toDouble());
    if (n == u"width")
        return setWidth(value.toDouble());
    if (n == u"height")
        return setHeight(value.toDouble());
    if (n == u"enabled") {
        setEnabled(flagFromValue(value));
        return true;
    }
    if (n == u"visible") {
        setVisible(flagFromValue(value));
        return true;
    }
    if (n == u"hint") {
        m_hint = value.toString();
        return true;
    }
    if (n == u"tabindex") {
        setTabIndex(value.toInt());
        return true;
    }
    if (n == u"tabstop") {
        setTabStop(flagFromValue(value));
        return true;
    }
    return false;
}

void Control::handlerStarted() const
{
    m_form.handlerStarted();
}

void Control::handlerReturned() const
{
    m_form.handlerReturned();
}

void Control::reportFailure(const QString &title, const QString &description) const
{
    m_form.reportFailure(title, description);
}

} // namespace qmx44::controls
