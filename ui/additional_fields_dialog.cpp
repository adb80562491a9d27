// The additional-fields dialog: one line per definition, checked by the model's own rules
// before the values are handed over.
#include "ui/additional_fields_dialog.h"

#include "platform/controls/toolbar.h"
#include "platform/core/error.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace qmx44::ui {

bool editAdditionalFields(controls::AdditionalFields &edited, QWidget *parent)
{
    controls::AdditionalFields fields = edited;
    const std::vector<controls::AdditionalFieldDef> &definitions = fields.definitions();
    if (definitions.empty())
        return false;

    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("CamposAdicionales"));
    dialog.setWindowTitle(QObject::tr("Campos adicionales"));
    auto *layout = new QVBoxLayout(&dialog);
    auto *form = new QFormLayout;
    layout->addLayout(form);
    std::vector<QLineEdit *> inputs;
    for (const controls::AdditionalFieldDef &def : definitions) {
        auto *input = new QLineEdit(fields.value(def.field), &dialog);
        input->setObjectName(def.field);
        input->setMaxLength(def.length);
        if (def.type == u'N')
            input->setPlaceholderText(QObject::tr("número"));
        else if (def.type == u'F')
            input->setPlaceholderText(QObject::tr("AAAA-MM-DD"));
        const QString label = def.labelName.isEmpty() ? def.field : def.labelName;
        // A required field's label carries a star.
        form->addRow(def.required ? QStringLiteral("%1 *").arg(label) : label, input);
        inputs.push_back(input);
    }
    auto *reason = new QLabel(&dialog);
    reason->setObjectName(QStringLiteral("reason"));
    reason->setStyleSheet(QStringLiteral("color: #b00000"));
    reason->setWordWrap(true);
    reason->hide();
    layout->addWidget(reason);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QObject::tr("Aceptar"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QObject::tr("Cancelar"));
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        // The model's own checks, on a copy: the dialog stays open on the first reason.
        for (std::size_t i = 0; i < inputs.size(); ++i)
            fields.setValue(definitions[i].field, inputs[i]->text());
        const QString why = fields.validate();
        reason->setText(why);
        reason->setVisible(!why.isEmpty());
        if (why.isEmpty())
            dialog.accept();
    });
    if (dialog.exec() != QDialog::Accepted)
        return false;
    edited = fields;
    return true;
}

bool editAdditionalFields(controls::Toolbar &toolbar, QWidget *parent)
{
    controls::AdditionalFields fields;
    try {
        fields = toolbar.additionalFields();
    } catch (const RuntimeError &e) {
        QMessageBox::warning(parent, QObject::tr("Campos adicionales"), QString::fromUtf8(e.what()));
        return false;
    }
    if (!editAdditionalFields(fields, parent))
        return false;
    for (const controls::AdditionalFieldDef &def : fields.definitions())
        toolbar.setAdditionalField(def.field, fields.value(def.field));
    return true;
}

} // namespace qmx44::ui
