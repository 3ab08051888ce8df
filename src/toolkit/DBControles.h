// Data-bound input controls: a single-line edit, a multi-line memo, a lookup
// combo and the four-button record navigator. They read the current record of
// their table through a data source and write its pending record, never SQL.
#pragma once

#include "DBEnlace.h"
#include "Table.h"

#include <QComboBox>
#include <QLineEdit>
#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QPlainTextEdit>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QWidget>

class QToolButton;

// Keeps one control in step with a table: follows the data source's table and
// reports every event after which the control must show its field again.
class TDBFieldLink : public QObject
{
    Q_OBJECT
public:
    explicit TDBFieldLink(QObject *parent = nullptr);

    void setDataSource(TDataSource *ds);
    TDataSource *dataSource() const { return m_ds; }
    void setFieldName(const QString &name);
    QString fieldName() const { return m_fieldName; }

    TTable *table() const;
    // The bound field of the open table; nullptr when unbound, closed or missing.
    TField *field() const;
    bool active() const;
    bool editing() const; // Edit or Insert
    // The control may take what the user types: the table is being edited, or it
    // browses and the data source lets a control begin the edit.
    bool canModify() const;
    // Makes the table editable for a change the user is making; true when it is.
    // Begins an edit only when the data source allows it.
    bool beginChange();

signals:
    void recordChanged(); // moved, read again, opened, closed or its state changed
    void fieldWritten(TField *field); // a field of the pending record was written

private:
    void rebind();

    QPointer<TDataSource> m_ds;
    QPointer<TTable> m_table;
    QString m_fieldName;
    QList<QMetaObject::Connection> m_conns;
};

// Turns a field's edit mask into a Qt input mask. Masks written as
// "mask;keep-literals;blank" ("!99/99/9999;1;_") are translated ("9" optional
// digit, "0" required digit, "L"/"l" letter, "A"/"a" letter or digit, "C"/"c" any
// character); anything else is taken as a Qt mask already. Empty positions are
// always blanks, so an untouched date reads "  /  /    ".
QString qtInputMask(const QString &editMask);

// Single-line edit bound to a field. Shows the field's display text, and its
// edit text while it has the focus; numbers are right-aligned. Takes the field's
// edit mask; a text field takes no more characters than its size, and a paste
// that would pass it is refused whole with a notice, never cut.
class TDBEdit : public QLineEdit, public IDBControl
{
    Q_OBJECT
    Q_PROPERTY(QString dataField READ dataField WRITE setDataField)
    Q_PROPERTY(bool upperCase READ upperCase WRITE setUpperCase)
public:
    explicit TDBEdit(QWidget *parent = nullptr);

    void setDataSource(TDataSource *ds);
    void setDataField(const QString &name);
    QString dataField() const { return m_link.fieldName(); }
    // Letters typed or pasted become capitals, the Spanish ones included.
    void setUpperCase(bool on);
    bool upperCase() const { return m_upper; }

    // The text as the user reads it: with a mask, the separators kept and the
    // empty positions as blanks ("15/03/    "); without one, text().
    QString shownText() const;
    // Writes what the user typed into the pending record, if anything is
    // waiting. Errors of the field's conversion are raised.
    void updateRecord();
    bool modified() const { return m_pending; }

    TField *dbField() const override { return m_link.field(); }
    TDataSource *dbDataSource() const override { return m_link.dataSource(); }
    void dbRefreshText() override;

protected:
    bool event(QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void inputMethodEvent(QInputMethodEvent *e) override;

private:
    // What became of the text typed: taken by the field; refused by the field's
    // own text handler, which told the user why; or not read (a number that is
    // not one), only when not raised. The last two stay on show, waiting.
    enum class tEscritura { Tomado, Rechazado, Sin_Leer };

    void load();
    void userEdited(const QString &text);
    void keyPress(QKeyEvent *e);
    tEscritura writeText(bool raise);
    bool acceptsChar(QChar c) const;
    void applyFieldSettings(const TField *f);
    int fieldLength() const; // characters a bound text field holds; 0: no limit


    TDBFieldLink m_link;
    bool m_upper = false;
    bool m_loading = false;
    bool m_writing = false;
    bool m_pending = false; // typed text not yet taken by the field
    QString m_mask;         // field mask last applied
    QString m_accepted;     // the text before the user's latest change
};

// The notice for a text that does not fit a field of `longitud` characters.
QString Texto_No_Cabe(int longitud);

// Multi-line text bound to a (memo) field.
class TDBMemo : public QPlainTextEdit, public IDBControl
{
    Q_OBJECT
    Q_PROPERTY(QString dataField READ dataField WRITE setDataField)
public:
    explicit TDBMemo(QWidget *parent = nullptr);

    void setDataSource(TDataSource *ds);
    void setDataField(const QString &name);
    QString dataField() const { return m_link.fieldName(); }

    void updateRecord();
    bool modified() const { return m_pending; }

    TField *dbField() const override { return m_link.field(); }
    TDataSource *dbDataSource() const override { return m_link.dataSource(); }
    void dbRefreshText() override;

protected:
    bool event(QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void insertFromMimeData(const QMimeData *source) override;
    void inputMethodEvent(QInputMethodEvent *e) override;

private:
    void load();
    void userEdited();
    void writeText(bool raise);
    bool beginChange();

    TDBFieldLink m_link;
    bool m_loading = false;
    bool m_writing = false;
    bool m_pending = false;
};

// Drop-down list bound to a lookup field (sMarca): offers the result field of
// every visible record of the lookup table, and choosing one writes its key into
// this table's key field. It shows what the lookup field holds, and follows the
// lookup table (a new filter rebuilds the list at once).
class TDBLookupComboBox : public QComboBox, public IDBControl
{
    Q_OBJECT
    Q_PROPERTY(QString dataField READ dataField WRITE setDataField)
public:
    explicit TDBLookupComboBox(QWidget *parent = nullptr);

    void setDataSource(TDataSource *ds);
    void setDataField(const QString &name);
    QString dataField() const { return m_link.fieldName(); }

    // What the control shows: the chosen name, or the lookup field's own text
    // when its key is not among the listed records; empty when nothing is chosen.
    QString shownText() const;
    // Reads the lookup table again into the list.
    void refreshList();

    TField *dbField() const override { return m_link.field(); }
    TDataSource *dbDataSource() const override { return m_link.dataSource(); }
    void dbRefreshText() override { load(); }

signals:
    // The user chose a name and its key was written.
    void choiceMade();

protected:
    void showPopup() override;
    void keyPressEvent(QKeyEvent *e) override;
    void wheelEvent(QWheelEvent *e) override;

private:
    void load();
    void chosen(int index);
    void bindLookup();
    TField *keyField() const;

    TDBFieldLink m_link;
    QPointer<TTable> m_lookup;
    QList<QMetaObject::Connection> m_lookupConns;
    bool m_loading = false;
};

// Four buttons that move a table: first, previous, next, last. Each is enabled
// when that move would change the current record.
class TDBNavigator : public QWidget
{
    Q_OBJECT
public:
    explicit TDBNavigator(QWidget *parent = nullptr);

    void setDataSource(TDataSource *ds);
    TDataSource *dataSource() const { return m_link.dataSource(); }

    QToolButton *buttonFirst() const { return m_first; }
    QToolButton *buttonPrior() const { return m_prior; }
    QToolButton *buttonNext() const { return m_next; }
    QToolButton *buttonLast() const { return m_last; }

signals:
    // After a button moved the table (the window may refresh what depends on it).
    void moved();

private:
    void updateButtons();
    void move(void (TTable::*step)());

    TDBFieldLink m_link;
    QToolButton *m_first, *m_prior, *m_next, *m_last;
};

// A data-bound control of class T (TDBEdit, TDBMemo, TDBLookupComboBox) named
// `nombre`, showing `campo` of the table that `fuente` presents.
template <class T>
T *Crear_Control_Enlazado(QWidget *padre, const QString &nombre, TDataSource *fuente, const QString &campo)
{
    auto *c = new T(padre);
    c->setObjectName(nombre);
    c->setDataSource(fuente);
    c->setDataField(campo);
    return c;
}

// Writes into their fields what the user typed in every bound control inside
// `contenedor` (editors call it just before posting, so a value typed in the
// field that still has the focus is never lost).
void Grabar_Controles(QWidget *contenedor);
