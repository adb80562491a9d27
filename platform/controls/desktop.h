#pragma once
// The desktop: which form is active, so that keystrokes sent by a service
// (Utilerias.EnviarTeclas) reach the focused control of the modal dialog when one is
// open, else of the main form. One per process, used on the UI thread only.
#include <QString>

namespace qmx44::controls {

class Form;

class Desktop {
public:
    // The form that receives sent keystrokes: the newest shown form that is still
    // visible (a modal dialog while it runs), or null.
    static Form *activeForm();
    // Makes `form` the active form (Form::show and Form::showModal call this).
    static void activate(Form &form);
    // Forgets `form` (hidden or destroyed); the previous form becomes active again.
    static void remove(Form &form);

    // One Tab keystroke to the active form. False when there is none or focus did not move.
    static bool sendTab();
    // Keystrokes to the active form: "\t" or "{TAB}" is Tab, "+{TAB}" Shift+Tab, "\r" or
    // "{ENTER}" Enter; every other character is typed. False without an active form.
    static bool sendKeys(const QString &keys);

    // Forgets every form (tests).
    static void reset();
};

} // namespace qmx44::controls
