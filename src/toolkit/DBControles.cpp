// Data-bound input controls and the record navigator.
#include "DBControles.h"

#include "Avisos.h"
#include "Formatos.h"
#include "Protegido.h"
#include "Table.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>
#include <QScopedValueRollback>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

// ---------------------------------------------------------------- TDBFieldLink

TDBFieldLink::TDBFieldLink(QObject *parent) : QObject(parent) {}

void TDBFieldLink::setDataSource(TDataSource *ds)
{
    m_ds = ds;
    rebind();
}

void TDBFieldLink::setFieldName(const QString &name)
{
    m_fieldName = name;
    emit recordChanged();
}

void TDBFieldLink::rebind()
{
    for (const auto &c : std::as_const(m_conns))
        disconnect(c);
    m_conns.clear();
    m_table = m_ds ? m_ds->dataSet() : nullptr;
    if (m_table) {
        TTable *t = m_table;
        auto changed = [this] { emit recordChanged(); };
        m_conns << connect(t, &TTable::afterOpen, this, changed)
                << connect(t, &TTable::afterClose, this, changed)
                << connect(t, &TTable::afterScroll, this, changed)
                << connect(t, &TTable::stateChanged, this, changed)
                << connect(t, &TTable::rowsReset, this, changed)
                << connect(t, &TTable::fieldChanged, this, [this](TField *f) { emit fieldWritten(f); });
    }
    emit recordChanged();
}

TTable *TDBFieldLink::table() const
{
    return m_table;
}

TField *TDBFieldLink::field() const
{
    if (!m_table || m_fieldName.isEmpty() || !m_table->active())
        return nullptr;
    return m_table->findField(m_fieldName);
}

bool TDBFieldLink::active() const
{
    return m_table && m_table->active();
}

bool TDBFieldLink::editing() const
{
    if (!m_table)
        return false;
    const TDataSetState s = m_table->state();
    return s == TDataSetState::Edit || s == TDataSetState::Insert;
}

bool TDBFieldLink::canModify() const
{
    if (editing())
        return true;
    return m_ds && m_ds->autoEdit() && m_table && m_table->state() == TDataSetState::Browse;
}

bool TDBFieldLink::beginChange()
{
    if (editing())
        return true;
    if (!canModify())
        return false;
    m_table->edit();
    return editing();
}

// ---------------------------------------------------------------- masks

QString qtInputMask(const QString &editMask)
{
    if (editMask.isEmpty())
        return QString();
    const QStringList parts = editMask.split(QLatin1Char(';'));
    const bool ownForm = parts.size() >= 2 && (parts.at(1) == QLatin1String("0") || parts.at(1) == QLatin1String("1"));
    if (!ownForm)
        return editMask;

    static const QString qtMeta = QStringLiteral("AaNnXx90Dd#HhBb><!\\[]{}");
    const QString src = parts.at(0);
    QString out;
    for (int i = 0; i < src.size(); ++i) {
        const QChar c = src.at(i);
        switch (c.unicode()) {
        case '\\':
            if (i + 1 < src.size()) {
                const QChar lit = src.at(++i);
                if (qtMeta.contains(lit))
                    out += QLatin1Char('\\');
                out += lit;
            }
            break;
        case '!': break; // blanks lead instead of trailing: the text read is the same here
        case '>': out += QLatin1Char('>'); break;
        case '<':
            if (i + 1 < src.size() && src.at(i + 1) == QLatin1Char('>')) {
                out += QLatin1Char('!'); // "<>": no case conversion
                ++i;
            } else {
                out += QLatin1Char('<');
            }
            break;
        case 'L': out += QLatin1Char('A'); break;
        case 'l': out += QLatin1Char('a'); break;
        case 'A': out += QLatin1Char('N'); break;
        case 'a': out += QLatin1Char('n'); break;
        case 'C': out += QLatin1Char('X'); break;
        case 'c': out += QLatin1Char('x'); break;
        case '0': out += QLatin1Char('9'); break;
        case '9': out += QLatin1Char('0'); break;
        case '#': out += QLatin1Char('#'); break;
        case '_': out += QLatin1Char(' '); break;
        default:
            if (qtMeta.contains(c))
                out += QLatin1Char('\\');
            out += c;
        }
    }
    // Empty positions are blanks, so the text reads as the user sees it.
    return out + QStringLiteral("; ");
}

namespace {

bool isNumeric(const TField *f)
{
    if (!f)
        return false;
    switch (f->dataType()) {
    case TFieldType::Integer:
    case TFieldType::AutoInc:
    case TFieldType::Float:
        return true;
    default:
        return false;
    }
}

// Capital letters, kept to the characters the tables can store (Windows-1252),
// so a letter never turns into one that could not be saved.
QString toCapitals(const QString &s)
{
    QString out = s;
    for (QChar &c : out) {
        const QChar u = c.toUpper();
        const char16_t code = u.unicode();
        if (code <= 0xFF || code == 0x0160 || code == 0x0152 || code == 0x017D || code == 0x0178)
            c = u;
    }
    return out;
}

// Letters and digits only: two texts that agree here show the same value.
QString essence(const QString &s)
{
    QString out;
    for (const QChar c : s)
        if (c.isLetterOrNumber())
            out += c;
    return out;
}

bool modifiesText(const QKeyEvent *e)
{
    if (e->matches(QKeySequence::Paste) || e->matches(QKeySequence::Cut) || e->matches(QKeySequence::Undo)
        || e->matches(QKeySequence::Redo) || e->matches(QKeySequence::Delete)
        || e->matches(QKeySequence::DeleteEndOfWord) || e->matches(QKeySequence::DeleteStartOfWord)
        || e->matches(QKeySequence::DeleteEndOfLine) || e->matches(QKeySequence::DeleteCompleteLine))
        return true;
    switch (e->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        return true;
    default:
        break;
    }
    if (e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
        return false;
    const QString t = e->text();
    return !t.isEmpty() && t.at(0).isPrint();
}

} // namespace

// ---------------------------------------------------------------- TDBEdit

TDBEdit::TDBEdit(QWidget *parent) : QLineEdit(parent)
{
    // Loading reads the field and beginning an edit reads the record again;
    // either can fail, and the failure is reported where it happens.
    connect(&m_link, &TDBFieldLink::recordChanged, this, Protegido([this] { load(); }));
    connect(&m_link, &TDBFieldLink::fieldWritten, this, Protegido([this](TField *f) {
        if (!m_writing && f && f == dbField())
            load();
    }));
    connect(this, &QLineEdit::textEdited, this, Protegido([this](const QString &t) { userEdited(t); }));
}

void TDBEdit::setDataSource(TDataSource *ds)
{
    m_link.setDataSource(ds);
}

void TDBEdit::setDataField(const QString &name)
{
    m_link.setFieldName(name);
}

void TDBEdit::setUpperCase(bool on)
{
    m_upper = on;
}

void TDBEdit::applyFieldSettings(const TField *f)
{
    const QString mask = f ? qtInputMask(f->editMask()) : QString();
    if (mask != m_mask) {
        m_mask = mask;
        setInputMask(mask);
    }
    const Qt::Alignment align = (isNumeric(f) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    if (alignment() != align)
        setAlignment(align);
}

void TDBEdit::load()
{
    TField *f = dbField();
    // The value first: reading it may fail, and the control must not be left
    // half-loaded, deaf to the user's typing.
    const QVariant v = f ? f->value() : QVariant();
    m_loading = true;
    m_pending = false;
    applyFieldSettings(f);
    QString t;
    if (f)
        t = hasFocus() ? Formatos::Texto_Edicion(f, v) : Formatos::Texto_Valor(f, v);
    if (t != text() || (t.isEmpty() && !inputMask().isEmpty()))
        setText(t);
    m_accepted = text();
    setModified(false);
    m_loading = false;
}

void TDBEdit::dbRefreshText()
{
    // Never throw away what the user typed and the field has not taken yet.
    if (m_pending)
        applyFieldSettings(dbField());
    else
        load();
}

QString TDBEdit::shownText() const
{
    if (inputMask().isEmpty())
        return text();
    return displayText();
}

int TDBEdit::fieldLength() const
{
    const TField *f = dbField();
    return f && inputMask().isEmpty() && f->dataType() == TFieldType::Text && f->size() > 0 ? f->size() : 0;
}

QString Texto_No_Cabe(int longitud)
{
    return QStringLiteral("El texto no cabe en este campo, que admite como máximo %1 caracteres.\r"
                          "No se ha cambiado nada.")
        .arg(longitud);
}

bool TDBEdit::acceptsChar(QChar c) const
{
    const TField *f = dbField();
    if (!f || !inputMask().isEmpty())
        return true;
    switch (f->dataType()) {
    case TFieldType::Integer:
    case TFieldType::AutoInc:
        return c.isDigit() || c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('.');
    case TFieldType::Float:
        return c.isDigit() || QStringLiteral("+-.,eE").contains(c);
    case TFieldType::Date:
        return c.isDigit() || c == QLatin1Char('/');
    default:
        return true;
    }
}

void TDBEdit::keyPressEvent(QKeyEvent *e)
{
    // Beginning an edit reads the record again and can fail: told here, and
    // the key goes no further.
    if (!Proteger([this, e] { keyPress(e); }))
        e->accept();
}

void TDBEdit::keyPress(QKeyEvent *e)
{
    if (!m_link.dataSource() || isReadOnly()) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        // Before the dialog's default button sees the key.
        if (writeText(false) == tEscritura::Rechazado) {
            // Refused, and the user told so: the key ends here, or the default
            // button would check the same text and say it again.
            e->accept();
            return;
        }
        // Taken, or a text the field cannot read (a number that is not one):
        // that stays on show and the key goes on, as storing the record is
        // what tells the user, by the field's name, and keeps the dialog open.
        QLineEdit::keyPressEvent(e);
        return;
    }
    if (modifiesText(e)) {
        TField *f = dbField();
        if (!f || f->kind() != TFieldKind::Data || !m_link.canModify()) {
            QApplication::beep();
            e->accept();
            return;
        }
        const QString typed = e->text();
        for (const QChar c : typed) {
            if (c.isPrint() && !acceptsChar(c)) {
                QApplication::beep();
                e->accept();
                return;
            }
        }
        // A full text field takes no more letters (what replaces a selection may).
        if (const int n = fieldLength(); n > 0 && !typed.isEmpty() && typed.at(0).isPrint()
            && text().size() - selectedText().size() + typed.size() > n) {
            QApplication::beep();
            e->accept();
            return;
        }
        if (!m_link.editing() && !m_link.beginChange()) {
            e->accept();
            return;
        }
        if (m_upper && !typed.isEmpty() && toCapitals(typed) != typed) {
            QKeyEvent upper(e->type(), e->key(), e->modifiers(), toCapitals(typed), e->isAutoRepeat(), e->count());
            QLineEdit::keyPressEvent(&upper);
            e->setAccepted(upper.isAccepted());
            return;
        }
    }
    QLineEdit::keyPressEvent(e);
}

void TDBEdit::inputMethodEvent(QInputMethodEvent *e)
{
    if (m_link.dataSource() && !isReadOnly() && !e->commitString().isEmpty()) {
        TField *f = dbField();
        bool editable = false;
        Proteger([&] { editable = f && f->kind() == TFieldKind::Data && m_link.canModify() && m_link.beginChange(); });
        if (!editable) {
            e->accept();
            return;
        }
    }
    QLineEdit::inputMethodEvent(e);
}

void TDBEdit::userEdited(const QString &typed)
{
    if (m_loading || !m_link.dataSource())
        return;
    TField *f = dbField();
    // Whatever got past the key checks (a paste from the context menu, a drop)
    // still may not change a record that is not being edited.
    if (!f || f->kind() != TFieldKind::Data || !m_link.canModify()) {
        load();
        return;
    }
    // A paste or a drop that would not fit is refused whole rather than cut: the
    // field keeps what it showed, and the user is told why.
    if (const int n = fieldLength(); n > 0 && typed.size() > n) {
        const int pos = qMin(cursorPosition(), int(m_accepted.size()));
        m_loading = true;
        setText(m_accepted);
        setCursorPosition(pos);
        m_loading = false;
        QTimer::singleShot(0, this, [n] { Aviso(QStringLiteral("Atención"), Texto_No_Cabe(n), avAtencion); });
        return;
    }
    if (!m_link.editing()) {
        const int pos = cursorPosition();
        if (!m_link.beginChange()) {
            load();
            return;
        }
        m_loading = true;
        setText(typed);
        setCursorPosition(pos);
        m_loading = false;
    }
    if (m_upper) {
        const QString up = toCapitals(text());
        if (up != text()) {
            const int pos = cursorPosition();
            m_loading = true;
            setText(up);
            setCursorPosition(pos);
            m_loading = false;
        }
    }
    m_accepted = text();
    m_pending = true;
    // Keep the pending record current while typing, so a post started from a
    // shortcut sees the value. A field with its own text handler (dates) only
    // takes the text when the user is done, as its checks speak to the user.
    if (!f->hasOnSetText())
        writeText(false);
}

TDBEdit::tEscritura TDBEdit::writeText(bool raise)
{
    if (!m_pending || m_writing)
        return tEscritura::Tomado;
    TField *f = dbField();
    if (!f || !m_link.editing()) {
        m_pending = false;
        return tEscritura::Tomado;
    }
    QString t = shownText();
    if (!inputMask().isEmpty() && !f->hasOnSetText() && essence(t).isEmpty())
        t.clear(); // an untouched mask means no value
    const QVariant before = f->value();
    m_writing = true;
    try {
        f->setText(t);
    } catch (...) {
        m_writing = false;
        if (raise)
            throw;
        return tEscritura::Sin_Leer;
    }
    m_writing = false;
    // A text handler that refuses the text (with its own message) keeps the
    // former value: the typed text stays on show, waiting for a correction.
    if (f->hasOnSetText() && f->value() == before && essence(t) != essence(Formatos::Texto_Edicion(f, before)))
        return tEscritura::Rechazado;
    m_pending = false;
    return tEscritura::Tomado;
}

void TDBEdit::updateRecord()
{
    writeText(true);
}

bool TDBEdit::event(QEvent *e)
{
    // Sent before the focus leaves, ahead of any exit handler watching FocusOut:
    // the field already holds the typed value (or has refused it) when they run.
    // A text the field cannot take ("12." for a number) stays on show, waiting
    // to be mended; it is told when the record is to be stored (updateRecord),
    // never thrown through the delivery of a focus change.
    if (e->type() == QEvent::FocusAboutToChange && m_link.dataSource())
        Proteger([this] { writeText(false); });
    return QLineEdit::event(e);
}

void TDBEdit::focusInEvent(QFocusEvent *e)
{
    if (m_link.dataSource() && !m_pending)
        Proteger([this] { load(); }); // edit text while focused
    QLineEdit::focusInEvent(e);
    // A masked field (a date) reads "  /  /    " when empty and its cursor stays
    // after the mask, where nothing typed goes in: however it gets the focus, it
    // starts at its first position. A click keeps the place clicked, a closed
    // popup the place left, and a window made active again the place the user
    // had, unless that is the useless end.
    if (inputMask().isEmpty())
        return;
    switch (e->reason()) {
    case Qt::MouseFocusReason:
    case Qt::PopupFocusReason:
        return;
    case Qt::ActiveWindowFocusReason:
        if (cursorPosition() < displayText().size())
            return;
        break;
    default:
        break;
    }
    setCursorPosition(0);
}

void TDBEdit::focusOutEvent(QFocusEvent *e)
{
    QLineEdit::focusOutEvent(e);
    if (m_link.dataSource() && !m_pending && !hasFocus() && e->reason() != Qt::ActiveWindowFocusReason
        && e->reason() != Qt::PopupFocusReason)
        Proteger([this] { load(); }); // back to the display text
}

// ---------------------------------------------------------------- TDBMemo

TDBMemo::TDBMemo(QWidget *parent) : QPlainTextEdit(parent)
{
    // As for the edit: each handler reports its failure where it runs.
    connect(&m_link, &TDBFieldLink::recordChanged, this, Protegido([this] { load(); }));
    connect(&m_link, &TDBFieldLink::fieldWritten, this, Protegido([this](TField *f) {
        if (!m_writing && f && f == dbField())
            load();
    }));
    connect(this, &QPlainTextEdit::textChanged, this, Protegido([this] { userEdited(); }));
}

void TDBMemo::setDataSource(TDataSource *ds)
{
    m_link.setDataSource(ds);
}

void TDBMemo::setDataField(const QString &name)
{
    m_link.setFieldName(name);
}

void TDBMemo::load()
{
    TField *f = dbField();
    QString t = f ? f->asString() : QString();
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    m_loading = true;
    m_pending = false;
    if (t != toPlainText())
        setPlainText(t);
    m_loading = false;
}

void TDBMemo::dbRefreshText()
{
    if (!m_pending)
        load();
}

// Whether the user may change the text now: beginning the edit reads the record
// again, and a failure is told here and counts as no.
bool TDBMemo::beginChange()
{
    TField *f = dbField();
    bool editable = false;
    Proteger([&] { editable = f && f->kind() == TFieldKind::Data && m_link.canModify() && m_link.beginChange(); });
    return editable;
}

void TDBMemo::keyPressEvent(QKeyEvent *e)
{
    if (m_link.dataSource() && (modifiesText(e) || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
        && !isReadOnly() && !beginChange()) {
        QApplication::beep();
        e->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(e);
}

void TDBMemo::inputMethodEvent(QInputMethodEvent *e)
{
    if (m_link.dataSource() && !e->commitString().isEmpty() && !beginChange()) {
        e->accept();
        return;
    }
    QPlainTextEdit::inputMethodEvent(e);
}

void TDBMemo::insertFromMimeData(const QMimeData *source)
{
    if (m_link.dataSource() && !beginChange())
        return;
    QPlainTextEdit::insertFromMimeData(source);
}

void TDBMemo::userEdited()
{
    if (m_loading || !m_link.dataSource())
        return;
    TField *f = dbField();
    if (!f || f->kind() != TFieldKind::Data || !m_link.editing()) {
        load(); // a change that got past the key checks
        return;
    }
    m_pending = true;
    if (!f->hasOnSetText())
        writeText(false);
}

void TDBMemo::writeText(bool raise)
{
    if (!m_pending || m_writing)
        return;
    TField *f = dbField();
    if (!f || !m_link.editing()) {
        m_pending = false;
        return;
    }
    m_writing = true;
    try {
        f->setText(toPlainText());
    } catch (...) {
        m_writing = false;
        if (raise)
            throw;
        return;
    }
    m_writing = false;
    m_pending = false;
}

void TDBMemo::updateRecord()
{
    writeText(true);
}

bool TDBMemo::event(QEvent *e)
{
    // As in the edit: a text the field cannot take stays on show when the focus
    // leaves, and is told when the record is to be stored (updateRecord), never
    // thrown through the delivery of a focus change.
    if (e->type() == QEvent::FocusAboutToChange && m_link.dataSource())
        Proteger([this] { writeText(false); });
    return QPlainTextEdit::event(e);
}

// ---------------------------------------------------------------- TDBLookupComboBox

namespace {
bool sameKey(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull() || !a.isValid() || !b.isValid())
        return false;
    bool okA = false, okB = false;
    const double da = a.toDouble(&okA), db = b.toDouble(&okB);
    if (okA && okB)
        return da == db;
    return a.toString() == b.toString();
}

bool changesChoice(const QKeyEvent *e)
{
    switch (e->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    default:
        break;
    }
    const QString t = e->text();
    return !t.isEmpty() && t.at(0).isPrint() && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}
} // namespace

TDBLookupComboBox::TDBLookupComboBox(QWidget *parent) : QComboBox(parent)
{
    setEditable(false);
    // Reading either table can fail: each handler reports where it runs.
    connect(&m_link, &TDBFieldLink::recordChanged, this, Protegido([this] {
        bindLookup();
        load();
    }));
    connect(&m_link, &TDBFieldLink::fieldWritten, this, Protegido([this](TField *f) {
        if (f && (f == keyField() || f == dbField()))
            load();
    }));
    connect(this, qOverload<int>(&QComboBox::activated), this, Protegido([this](int index) { chosen(index); }));
}

void TDBLookupComboBox::setDataSource(TDataSource *ds)
{
    m_link.setDataSource(ds);
}

void TDBLookupComboBox::setDataField(const QString &name)
{
    m_link.setFieldName(name);
}

TField *TDBLookupComboBox::keyField() const
{
    TField *lf = dbField();
    if (!lf || lf->kind() != TFieldKind::Lookup)
        return nullptr;
    return lf->table()->findField(lf->lookupKeyFields());
}

void TDBLookupComboBox::bindLookup()
{
    TTable *t = m_link.table();
    TField *lf = t && !m_link.fieldName().isEmpty() ? t->findField(m_link.fieldName()) : nullptr;
    TTable *lookup = lf && lf->kind() == TFieldKind::Lookup ? lf->lookupDataSet() : nullptr;
    if (lookup == m_lookup && (lookup || m_lookupConns.isEmpty()))
        return;
    for (const auto &c : std::as_const(m_lookupConns))
        disconnect(c);
    m_lookupConns.clear();
    m_lookup = lookup;
    if (lookup) {
        auto reread = Protegido([this] { refreshList(); });
        m_lookupConns << connect(lookup, &TTable::rowsReset, this, reread)
                      << connect(lookup, &TTable::afterOpen, this, reread)
                      << connect(lookup, &TTable::afterClose, this, reread);
    }
    refreshList();
}

void TDBLookupComboBox::refreshList()
{
    const QScopedValueRollback<bool> cargando(m_loading, true); // also when a read fails
    clear();
    TField *lf = m_link.table() ? m_link.table()->findField(m_link.fieldName()) : nullptr;
    if (m_lookup && m_lookup->active() && lf) {
        const TField *key = m_lookup->findField(lf->lookupKeyFieldInLookup());
        const TField *name = m_lookup->findField(lf->lookupResultField());
        if (key && name) {
            const int n = m_lookup->recordCount();
            for (int row = 0; row < n; ++row)
                addItem(Formatos::Texto_Valor(name, m_lookup->valueAt(row, name)), m_lookup->valueAt(row, key));
        }
    }
    load();
}

void TDBLookupComboBox::load()
{
    const QScopedValueRollback<bool> cargando(m_loading, true);
    TField *lf = dbField();
    TField *key = keyField();
    int index = -1;
    QString shown;
    if (lf && key && !key->isNull()) {
        const QVariant k = key->value();
        for (int i = 0; i < count(); ++i) {
            if (sameKey(itemData(i), k)) {
                index = i;
                break;
            }
        }
        if (index < 0)
            shown = lf->asString(); // a key outside the list (a filtered lookup table)
    }
    setCurrentIndex(index);
    setPlaceholderText(shown);
}

QString TDBLookupComboBox::shownText() const
{
    return currentIndex() >= 0 ? currentText() : placeholderText();
}

void TDBLookupComboBox::chosen(int index)
{
    if (m_loading || index < 0)
        return;
    try {
        // Beginning the edit reads the record again, and may learn it is gone.
        TField *key = keyField();
        if (!key || !m_link.canModify() || !m_link.beginChange()) {
            load();
            return;
        }
        key->setValue(itemData(index));
    } catch (...) {
        const std::exception_ptr fallo = std::current_exception();
        Proteger([this] { load(); }); // back to what the field holds
        Informar_Fallo(fallo);
        return;
    }
    load();
    emit choiceMade();
}

void TDBLookupComboBox::showPopup()
{
    if (m_link.dataSource() && (!keyField() || !m_link.canModify())) {
        QApplication::beep();
        return;
    }
    QComboBox::showPopup();
}

void TDBLookupComboBox::keyPressEvent(QKeyEvent *e)
{
    if (m_link.dataSource() && changesChoice(e) && (!keyField() || !m_link.canModify())) {
        e->ignore();
        return;
    }
    QComboBox::keyPressEvent(e);
}

void TDBLookupComboBox::wheelEvent(QWheelEvent *e)
{
    if (m_link.dataSource() && (!keyField() || !m_link.canModify())) {
        e->ignore();
        return;
    }
    QComboBox::wheelEvent(e);
}

// ---------------------------------------------------------------- TDBNavigator

namespace {
enum class Glyph { First, Prior, Next, Last };

QIcon navigatorIcon(Glyph g, const QColor &colour)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    const bool left = g == Glyph::First || g == Glyph::Prior;
    const qreal tipX = left ? 4 : 12, baseX = left ? 11 : 5;
    p.drawPolygon(QPolygonF({QPointF(tipX, 8), QPointF(baseX, 2.5), QPointF(baseX, 13.5)}));
    if (g == Glyph::First)
        p.drawRect(QRectF(2, 2.5, 2, 11));
    else if (g == Glyph::Last)
        p.drawRect(QRectF(12, 2.5, 2, 11));
    return QIcon(pm);
}
} // namespace

TDBNavigator::TDBNavigator(QWidget *parent) : QWidget(parent)
{
    auto *lay = new QHBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    const QColor ink = palette().color(QPalette::ButtonText);
    auto make = [&](const char *name, const QString &hint, Glyph g, void (TTable::*step)()) {
        auto *b = new QToolButton(this);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(hint);
        b->setIcon(navigatorIcon(g, ink));
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRaise(false);
        b->setMinimumSize(25, 25);
        lay->addWidget(b);
        connect(b, &QToolButton::clicked, this, [this, step] { move(step); }); // reports its own failures
        return b;
    };
    m_first = make("nbFirst", QStringLiteral("Primer registro"), Glyph::First, &TTable::first);
    m_prior = make("nbPrior", QStringLiteral("Registro anterior"), Glyph::Prior, &TTable::prior);
    m_next = make("nbNext", QStringLiteral("Registro siguiente"), Glyph::Next, &TTable::next);
    m_last = make("nbLast", QStringLiteral("Último registro"), Glyph::Last, &TTable::last);
    connect(&m_link, &TDBFieldLink::recordChanged, this, Protegido([this] { updateButtons(); }));
    Proteger([this] { updateButtons(); });
}

void TDBNavigator::setDataSource(TDataSource *ds)
{
    m_link.setDataSource(ds);
}

void TDBNavigator::updateButtons()
{
    TTable *t = m_link.table();
    int row = -1, count = 0;
    if (t && t->active()) {
        count = t->recordCount();
        row = t->recNo();
    }
    const bool any = count > 0 && row >= 0;
    m_first->setEnabled(any && row > 0);
    m_prior->setEnabled(any && row > 0);
    m_next->setEnabled(any && row < count - 1);
    m_last->setEnabled(any && row < count - 1);
}

void TDBNavigator::move(void (TTable::*step)())
{
    TTable *t = m_link.table();
    if (!t || !t->active())
        return;
    // A move reads the table and can fail: told here, once; the buttons, which
    // would read the same table again, stay as they were.
    if (!Proteger([t, step] { (t->*step)(); }))
        return;
    Proteger([this] {
        updateButtons();
        emit moved();
    });
}

// ---------------------------------------------------------------- Grabar_Controles

void Grabar_Controles(QWidget *contenedor)
{
    if (!contenedor)
        return;
    for (TDBEdit *e : contenedor->findChildren<TDBEdit *>())
        e->updateRecord();
    for (TDBMemo *m : contenedor->findChildren<TDBMemo *>())
        m->updateRecord();
}
