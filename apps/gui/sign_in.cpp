#include "apps/gui/sign_in.h"

#include "apps/gui/startup_probe.h"
#include "platform/db/clerks.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace qmx44::apps::gui {

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
    for (const db::UserRow &u : db::databaseUsers(connection)) {
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
    reportWhenPainted(&dialog, QStringLiteral("sign-in"));
    if (dialog.exec() != QDialog::Accepted || !list->currentItem())
        return std::nullopt;
    return list->currentItem()->data(Qt::UserRole).toString();
}

std::optional<UserAndPassword> askPassword(const QString &database, const QString &userCaption, const QString &user,
                                           const QString &problem, QWidget *parent)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("signIn"));
    dialog.setWindowTitle(QStringLiteral("Iniciar sesión"));
    auto *layout = new QVBoxLayout(&dialog);
    auto *intro = new QLabel(QStringLiteral("Base de datos: %1").arg(database), &dialog);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    auto *form = new QFormLayout;
    auto *userField = new QLineEdit(user, &dialog);
    userField->setObjectName(QStringLiteral("user"));
    auto *passwordField = new QLineEdit(&dialog);
    passwordField->setObjectName(QStringLiteral("password"));
    passwordField->setEchoMode(QLineEdit::Password);
    form->addRow(userCaption, userField);
    form->addRow(QStringLiteral("&Contraseña:"), passwordField);
    layout->addLayout(form);
    if (!problem.isEmpty()) {
        auto *why = new QLabel(problem, &dialog);
        why->setObjectName(QStringLiteral("problem"));
        why->setWordWrap(true);
        why->setStyleSheet(QStringLiteral("color: #b00020;"));
        layout->addWidget(why);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Entrar"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Cancelar"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.resize(420, dialog.sizeHint().height());
    (user.isEmpty() ? userField : passwordField)->setFocus();
    reportWhenPainted(&dialog, QStringLiteral("sign-in"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return UserAndPassword{userField->text().trimmed(), passwordField->text()};
}

} // namespace qmx44::apps::gui
