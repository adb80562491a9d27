#pragma once
// What every host does to put the screen in front of a user: a platform context for the
// signed-in session, the component registry that serves the screen (the user's component
// folder when it holds a loadable one, else the folder of the component that came with the
// program), and the screen itself, created by its programmatic identifier and given a
// parent (Padre, with the members Transaccion and Modulo) for each showing.
#include "platform/host/component_interfaces.h"
#include "platform/host/component_registry.h"
#include "platform/host/padre.h"
#include "platform/host/platform_context.h"

#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace qmx44::host {

// A context whose session is `user`'s on `database`; the host adds its message sink, its
// presenter and where printed documents go.
std::shared_ptr<PlatformContext> makePlatformContext(std::shared_ptr<db::Conexion> database, const QString &user);

class ScreenSession {
public:
    // `progId` names the screen; `builtComponent` is the plug-in that came with the
    // program (empty when none did).
    ScreenSession(std::shared_ptr<PlatformContext> context, QString progId, QString builtComponent);
    // The screens go first (stopping them closes their forms), then the registry.
    ~ScreenSession();
    ScreenSession(const ScreenSession &) = delete;
    ScreenSession &operator=(const ScreenSession &) = delete;

    // The registry serving the screen, or null when none does (see missingComponent).
    ComponentRegistry *registry();
    // Why no registry serves the screen: "ID is not registered in FOLDER and ...".
    QString missingComponent() const;

    // A new screen object from the registry and its form, given a new Padre. Null when
    // the component gave no form. Throws RuntimeError when no registry serves the screen
    // or the component cannot be loaded.
    MainForm *open();

    // Called with each form open() hands out, before any window shows it.
    std::function<void(MainForm &)> onOpened;

    PlatformContext &context() const { return *m_context; }
    const std::shared_ptr<PlatformContext> &sharedContext() const { return m_context; }
    const QString &progId() const { return m_progId; }
    // The last screen object and form (null once the component destroyed it, closed),
    // and the parent of the last showing.
    PantallaInterface *screen() const;
    QObject *formObject() const { return m_formObject; }
    Padre *padre() const { return m_padre.get(); }

private:
    std::shared_ptr<PlatformContext> m_context;
    QString m_progId;
    QString m_builtComponent;
    std::unique_ptr<ComponentRegistry> m_registry;
    bool m_looked = false;
    QString m_userFolder;
    // Every screen object created stays alive while the host is: a form a user has seen
    // may still be referred to by the windows that showed it.
    std::vector<std::unique_ptr<QObject>> m_screens;
    QPointer<QObject> m_formObject;
    std::shared_ptr<Padre> m_padre;
};

} // namespace qmx44::host
