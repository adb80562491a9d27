#pragma once
// The text field model: text and value, the typing rules of its design settings
// (maxlength, mayusculas, locked, currency amount), the lookup statement that shows a
// key's description in another field, the catalogue search, and the Enter / Change /
// re-validation events.
//
// Behaviour, in one place:
// - Change (12) fires whenever the text actually changes, typed or written by code.
// - The lookup (`sql`, every '?' replaced by the text with single quotes doubled) runs
//   when the text is committed: on Enter, when the focus leaves after the text changed,
//   and whenever code writes the text (setText/setValue/clear). It writes the first
//   column of the first row into the field named by `sql_control_resultado`, or empties
//   that field when no row comes back. An empty text is not looked up: the result field
//   is emptied. No `sql` or no result field: no lookup. A failing lookup (bad statement,
//   no connection, unknown result field) is reported through the event boundary with the
//   title "<field>_Validar()" and empties the result field.
// - Enter (11): the lookup runs first, then the Enter handler (so it sees the
//   description), then the focus moves on as with Tab when `tabonenter` is set and
//   * the text is not empty, or `tabonentervacio` is set;
//   * the handler did not fail and did not move the focus itself;
//   * with `tabonentercancel`: the lookup found a row (a key that is not found keeps
//     the focus so that it can be corrected).
// - Event 1 (Revalidate): raised after the lookup of a commit that was not an Enter
//   (focus left after typing, code wrote a different text, a key picked from the
//   catalogue), so a field can re-run its Enter work without the user pressing Enter.
// - Typing (typeText / keyStroke): refused on a locked or disabled field; `mayusculas`
//   upper-cases typed characters (Unicode: "ñ" becomes "Ñ"); `maxlength` (0 = no limit)
//   refuses characters beyond it. Code-written text is taken as it is. Taking the focus
//   selects the whole text, so typing replaces it.
// - Editing as in any desktop program: a caret and a selection (anchor to caret) that
//   keys and clicks move (Shift extends, Ctrl+Left/Right go by words); typing replaces
//   the selection, Backspace/Delete delete it; Ctrl+A, Ctrl+C/X/V (also Ctrl+Insert,
//   Shift+Delete, Shift+Insert) and Ctrl+Z work through the Clipboard. A paste is the
//   clipboard's first line typed through the rules above, as one edit. A locked field
//   copies but takes no cut, paste or undo. Ctrl+Z undoes the clerk's last edits (runs
//   of typing count as one); code writing the text forgets them.
// - `tipodato` 6 is a currency amount: value() is a double, the text shows it with the
//   picture of `formato` ("$#,##0.0000": "$0.0000" fresh, "$1,234.5000"). Typed text is
//   read back as a number on commit; what does not read as a number counts as 0.
// - clear(): text fields become empty, currency fields 0.
#include "platform/controls/catalogue_search.h"
#include "platform/controls/control.h"
#include "platform/controls/event.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace qmx44::controls {

enum class Alignment { Left = 0, Right = 1, Center = 2 };

class TextField : public Control {
public:
    static constexpr int CurrencyDataType = 6; // currency amount
    static constexpr int CurrencyFormat4 = 10; // "$#,##0.0000"

    TextField(Form &form, const QString &name);

    // ---- events ------------------------------------------------------------------
    Event<> Enter;      // 11
    Event<> Change;     // 12
    Event<> Revalidate; // 1

    // ---- run-time properties -------------------------------------------------------
    QString text() const { return m_text; }
    // Writes the text (a currency field reads it as a number and shows it formatted);
    // Change fires when it differs; then the lookup runs.
    void setText(const QString &text);
    // Currency field: the amount (double). Other fields: the text.
    QVariant value() const;
    // Currency field: the amount (must convert to a finite number, else RuntimeError).
    // Other fields: the value's text. Change and lookup as for setText.
    void setValue(const QVariant &value);

    // The key format written at load from a parameter; kept for the key services, the
    // field itself does not reformat keys with it.
    QVariant format() const { return m_format; }
    void setFormat(const QVariant &format) { m_format = format; }

    QString sql() const { return m_sql; }
    void setSql(const QString &statement) { m_sql = statement; }
    QString sqlControlResultado() const { return m_sqlResult; }
    void setSqlControlResultado(const QString &fieldName) { m_sqlResult = fieldName; }
    QString sqlLista() const { return m_sqlList; }
    void setSqlLista(const QString &statement) { m_sqlList = statement; }
    QString tag() const { return m_tag; }
    void setTag(const QString &tag) { m_tag = tag; }

    // ---- design-time settings (stored names in comments) ----------------------------
    bool locked() const { return m_locked; } // locked
    void setLocked(bool on)
    {
        if (on == m_locked)
            return;
        m_locked = on;
        notify(Aspect::Locked);
    }
    int maxlength() const { return m_maxLength; } // maxlength, 0 = none
    void setMaxlength(int n) { m_maxLength = n < 0 ? 0 : n; }
    Alignment alignment() const { return m_alignment; } // alignment
    void setAlignment(Alignment a) { m_alignment = a; }
    bool mayusculas() const { return m_upper; } // mayusculas
    void setMayusculas(bool on) { m_upper = on; }
    bool esclave() const { return m_isKey; } // esclave
    void setEsclave(bool on) { m_isKey = on; }
    QString idconsulta() const { return m_catalogue; } // idconsulta
    void setIdconsulta(const QString &id) { m_catalogue = id; }
    QString transaccion() const { return m_accessCode; } // transaccion
    void setTransaccion(const QString &code) { m_accessCode = code; }
    bool tabonenter() const { return m_tabOnEnter; } // tabonenter
    void setTabonenter(bool on) { m_tabOnEnter = on; }
    bool tabonentervacio() const { return m_tabOnEnterEmpty; } // tabonentervacio
    void setTabonentervacio(bool on) { m_tabOnEnterEmpty = on; }
    bool tabonentercancel() const { return m_tabOnEnterCancel; } // tabonentercancel
    void setTabonentercancel(bool on) { m_tabOnEnterCancel = on; }
    int tipodato() const { return m_dataType; } // tipodato
    void setTipodato(int code);
    int formato() const { return m_formatCode; } // formato
    void setFormato(int code);
    bool subrayar() const { return m_underline; } // subrayar
    void setSubrayar(bool on) { m_underline = on; }
    QString enabledcolor() const { return m_enabledColor; } // enabledcolor
    void setEnabledcolor(const QString &c) { m_enabledColor = c; }
    QString focuscolor() const { return m_focusColor; } // focuscolor
    void setFocuscolor(const QString &c) { m_focusColor = c; }
    // The mode group (1 or 2; 0 = none) whose Utilerias.LimpiarControles and
    // HabilitarControles reach this field, and whether HabilitarControles unlocks it as
    // well as enabling it.
    int modeGroup() const { return m_modeGroup; } // modegroup
    void setModeGroup(int group) { m_modeGroup = group; }
    bool unlockedByMode() const { return m_modeUnlock; } // modeunlock
    void setUnlockedByMode(bool on) { m_modeUnlock = on; }

    bool isCurrency() const { return m_dataType == CurrencyDataType; }
    // The picture used to show a currency amount.
    QString currencyPicture() const;

    // All of the above plus "text", "sql", "sql_control_resultado", "sql_lista", "tag",
    // "format" by their stored names.
    bool applySetting(const QString &name, const QVariant &value) override;

    // ---- operations -----------------------------------------------------------------
    // The selection call: selects the whole text (typing then replaces it).
    void selectAll();
    int selectionStart() const { return qMin(m_anchor, m_caret); }
    int selectionLength() const { return qAbs(m_caret - m_anchor); }
    QString selectedText() const { return m_text.mid(selectionStart(), selectionLength()); }
    // The caret (0 = before the first character) and the selection's other end.
    int cursorPosition() const { return m_caret; }
    int selectionAnchor() const { return m_anchor; }
    // Moves the caret (kept within the text); `extend` keeps the anchor, so that what lies
    // between is selected (Shift+click, a mouse drag).
    void setCursorPosition(int position, bool extend = false);
    // Selects the word at `position` (a double click).
    void selectWordAt(int position);
    // Empties the field (currency fields: 0) as Utilerias.LimpiarControles does.
    void clear();

    // ---- user input (GUI and runner) ---------------------------------------------------
    // Types each character as a keystroke into this field (it need not have the focus).
    // Returns how many characters were accepted.
    int typeText(const QString &text);
    // A non-character key: Enter, Backspace, Delete, Home, End, Left, Right. Tab moves the
    // focus through the form.
    void pressKey(int keyCode, int shift = 0);
    // Commits typed text now (the lookup and event 1, when the text changed since the
    // last commit): what leaving the field does.
    void commit();
    // The editing commands of the keys and the context menu. False when they do nothing:
    // no selection to copy, cut or erase, nothing to undo, a locked or disabled field.
    bool copy() const;
    bool cut();
    bool paste();
    bool eraseSelection();
    bool undo();
    bool canUndo() const { return !m_undo.empty(); }
    // Takes typing, pastes and undo: enabled and not locked.
    bool editable() const { return effectivelyEnabled() && !m_locked; }
    // Whether the last lookup found a row (true when none ran).
    bool lookupFound() const { return m_lookupFound; }

    // ---- catalogue search (idconsulta / sql_lista; catalogue_search.cpp) ---------------------
    // The statement behind the search: `sql_lista` when set, else the one the form has
    // registered for `idconsulta` (Form::registerCatalogue), else "".
    QString catalogueStatement() const;
    // Its first `limit` rows, by key, whose CLAVE or DESCRIPCION holds `filter` (ignoring
    // case), filtered and limited by the database; the filter is bound, never spliced. A
    // failure is reported under "<field>_Buscar()" and gives no rows.
    CatalogueListing search(const QString &filter = QString(), int limit = CatalogueLimit) const;
    // The user picked `clave` from the search: it becomes the text, the lookup runs and
    // event 1 is raised. Refused (false) on a locked or disabled field.
    bool pick(const QString &key);

    // Control
    bool focusable() const override { return true; }
    void keyDown(int &keyCode, int &shift) override;
    void keyPress(int &charCode) override;
    void focusIn() override;
    void focusOut() override;

private:
    // What the clerk's edit was, for the undo history: runs of typing make one step.
    enum class EditKind { Typing, Other };
    struct Snapshot {
        QString text;
        int anchor, caret;
    };
    void assignText(const QString &text); // code writes: sets, forgets the undo history
    // A clerk's edit: the new text with the caret after it, the state before kept for undo.
    void applyEdit(const QString &text, int caret, EditKind kind);
    void select(int anchor, int caret);
    bool navigate(int keyCode, int shift);
    void lookup(); // runs sql into the result field
    void commitBy(bool byEnter);
    void enterPressed();
    bool insertTyped(QString chars);
    void normaliseCurrencyText();

    QString m_text;
    QString m_committed; // text at the last commit
    QVariant m_format;
    QString m_sql, m_sqlResult, m_sqlList, m_tag;
    bool m_locked = false;
    int m_maxLength = 0;
    Alignment m_alignment = Alignment::Left;
    bool m_upper = false, m_isKey = false;
    QString m_catalogue, m_accessCode;
    bool m_tabOnEnter = false, m_tabOnEnterEmpty = false, m_tabOnEnterCancel = false;
    int m_dataType = 0, m_formatCode = 0;
    bool m_underline = false;
    QString m_enabledColor, m_focusColor;
    int m_modeGroup = 0;
    bool m_modeUnlock = false;
    double m_amount = 0;   // currency fields: the amount written or committed
    QString m_amountShown; // ... and its display; typed text differs from it
    int m_anchor = 0, m_caret = 0;
    std::vector<Snapshot> m_undo;
    bool m_typingRun = false; // the last undo step is typing the next key may join
    bool m_lookupFound = true;
    bool m_inLookup = false;
};

} // namespace qmx44::controls
