#pragma once
// The contract between the host and a component plug-in: the plug-in's root object,
// the public class Pantalla, and the main form as the host sees it. Each is a Qt
// interface so the host reaches it with qobject_cast across the plug-in boundary.
#include <QObject>
#include <QString>
#include <QVariant>
#include <QtPlugin>
#include <memory>

namespace qmx44::controls {
class Form;
}

namespace qmx44::host {

struct PlatformContext;
class Padre;

// The root object of a component plug-in. The plug-in's metadata lists the programmatic
// identifiers it serves: {"progIds": ["Module.Class"]}.
class ComponentPlugin {
public:
    virtual ~ComponentPlugin() = default;
    // The component's start-up routine: creates its component-wide state for `context`.
    // The host calls it once per load, before creating any object.
    virtual void start(std::shared_ptr<PlatformContext> context) = 0;
    virtual bool started() const = 0;
    // A new object of the public class named `progId`; the caller owns it. Throws
    // RuntimeError for an identifier the component does not serve or before start().
    virtual QObject *create(const QString &progId) = 0;
    // Releases the component-wide state (services, main forms, closed ones included);
    // start() may run again. Every form the component handed out is destroyed: a host
    // drops what it holds of them first.
    virtual void stop() = 0;
};

// The component's public class: the host's way to the screen. The object also carries
// the read-only Qt properties "GetPantalla" and "Modulo" for late-bound hosts.
class PantallaInterface {
public:
    virtual ~PantallaInterface() = default;
    // The one main form (a QObject implementing MainForm), created on first use and the
    // same instance afterwards; an invalid QVariant when it cannot be had. Once that form
    // is closed (unloaded) the next call makes a fresh one. The component owns every form
    // it hands out. A closed form is destroyed once none of its handlers runs and control
    // is back in the event loop that closed it (QObject::deleteLater; a host without a
    // running loop sends the deferred deletions itself), or when the component stops:
    // the views of its control models are told first (Aspect::Gone), and a host keeps
    // the form in a QPointer, which is null once it is gone.
    virtual QVariant GetPantalla() = 0;
    // The host module the screen belongs to, whether or not the form exists.
    virtual QVariant Modulo() const = 0;
};

// The main form as the host drives it.
class MainForm {
public:
    virtual ~MainForm() = default;
    // Stores the host's parent object (shared); no check. Read back with getPadre().
    virtual void setPadre(std::shared_ptr<Padre> padre) = 0;
    virtual std::shared_ptr<Padre> getPadre() const = 0;
    // The screen's transaction text, from the parent's member "Transaccion"; throws
    // RuntimeError when there is no parent or the parent lacks that member.
    virtual QString Transaccion() = 0;
    // Runs the form's load if it has not run yet; nothing more.
    virtual void load() = 0;
    virtual bool isLoaded() const = 0;
    // Loads if needed, then makes the form visible and active.
    virtual void show() = 0;
    // The form's window received the focus.
    virtual void activate() = 0;
    // Closes the form: it releases what it holds and a later GetPantalla builds a fresh one.
    // The closed object is destroyed afterwards (see GetPantalla).
    virtual void unload() = 0;
    // The control models, for the GUI view and the scenario runner.
    virtual controls::Form &form() = 0;
};

// The main form out of a GetPantalla value, or null when the value holds none.
MainForm *mainFormOf(const QVariant &screenObject);

} // namespace qmx44::host

#define QMX44_COMPONENT_PLUGIN_IID "org.qmx44.ComponentPlugin/1"
Q_DECLARE_INTERFACE(qmx44::host::ComponentPlugin, QMX44_COMPONENT_PLUGIN_IID)
Q_DECLARE_INTERFACE(qmx44::host::PantallaInterface, "org.qmx44.Pantalla/1")
Q_DECLARE_INTERFACE(qmx44::host::MainForm, "org.qmx44.MainForm/1")
