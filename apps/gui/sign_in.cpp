#include "apps/gui/sign_in.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace qmx44::apps::gui {

std::vector<UserRow> databaseUsers(db::Conexion &connection)
{
    std::vector<UserRow> users;
    auto rs = connection.query(QStringLiteral("SELECT Us_Cve_Usuario, Us_Nombre FROM Usuario ORDER BY Us_Cve_Usuario"));
    for (; !rs->eof(); rs->moveNext())
        users.push_back({rs->field(QStringLiteral("Us_Cve_Usuario")).toString().trimmed(),
                         rs->field(QStringLiteral("Us_Nombre")).toString().trimmed()});
    return users;
}

std::optional<QString> signIn(db::Conexion &connection, QWidget *parent)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("signIn"));
    dialog.setWindowTitle(QStringLiteral("Iniciar sesión"));
    auto *layout = new QVBoxLayout(&dialog);
    auto *label = new QLabel(QStringLiteral("&Usuario:"), &dialog);
    auto *list = new QListWidget(&dialog);
    label->setBuddy(list);
    // The key first, so that typing it finds the user.
    for (const UserRow &u : databaseUsers(connection)) {
        auto *item = new QListWidgetItem(QStringLiteral("%1  %2").arg(u.key, u.name), list);
        item->setData(Qt::UserRole, u.key);
    }
    list->setCurrentRow(0);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Entrar"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Cancelar"));
    buttons->button(QDialogButtonBox::Ok)->setEnabled(list->count() > 0);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemActivated, &dialog, &QDialog::accept);
    layout->addWidget(label);
    layout->addWidget(list);
    layout->addWidget(buttons);
    dialog.resize(420, 280);
    list->setFocus();
    if (dialog.exec() != QDialog::Accepted || !list->currentItem())
        return std::nullopt;
    return list->currentItem()->data(Qt::UserRole).toString();
}

} // namespace qmx44::apps::gui
