// The pages of a generated report, recorded once (a picture per page, in
// report units) and replayed onto the screen, a printer or a PDF; with its
// status, title and cancel flag, and its own file kind (".qrp").
#pragma once

#include "Pagination.h"

#include <QObject>
#include <QPicture>
#include <QSize>
#include <QString>

#include <exception>
#include <memory>
#include <vector>

class QPainter;

class TPageStore : public QObject
{
    Q_OBJECT
public:
    enum TStatus { Ready, Busy, Finished };

    explicit TPageStore(QObject *parent = nullptr);
    ~TPageStore() override;

    QString Title() const { return m_title; }
    void Set_Title(const QString &title) { m_title = title; }
    TStatus Status() const { return m_status; }
    int Page_Count() const { return int(m_pages.size()); }
    // Page n, 1 to Page_Count().
    const QPicture &Page(int n) const { return m_pages[size_t(n - 1)].Picture; }
    QSize Page_Size(int n) const { return m_pages[size_t(n - 1)].Size; }
    // Bytes held by the pages.
    qint64 Memory_Bytes() const;

    // Asks the generation filling this store to stop after its current page.
    void Cancel() { m_cancelled = true; }
    bool Cancelled() const { return m_cancelled; }

    // Writes the pages to `file` in the engine's own kind, through a temporary
    // file that replaces it only once complete. Only a finished store saves.
    // Failures are EInOutError with a Spanish message; the old file stays.
    void Save(const QString &file) const;
    // Replaces the pages by those of `file`; the store becomes finished and keeps
    // its title. A file that is missing, not a saved report, cut short or of a
    // newer version fails with an EInOutError and leaves the store as it was.
    void Load(const QString &file);

    // For the generation that fills the store.
    void Start();
    void Add_Page(const QPicture &picture, QSize size);
    void Finish();
    // Finishes the store after a failed generation and announces it.
    void Fail(std::exception_ptr failure);
    std::exception_ptr Failure() const { return m_failure; }

    // The window that showed this store has closed.
    void Close_Preview();
    bool Preview_Closed() const { return m_previewClosed; }

signals:
    // Page n is complete. The last page is announced once more when the store
    // finishes, with Status() already Finished.
    void pageAvailable(int n);
    void failed();
    void previewClosed();

private:
    struct TPage
    {
        QPicture Picture;
        QSize Size;
    };
    std::vector<TPage> m_pages;
    QString m_title;
    TStatus m_status = Ready;
    bool m_cancelled = false;
    bool m_previewClosed = false;
    std::exception_ptr m_failure;
};

// Fills a page store as the pages are made; with `processEvents` the pending
// events run after each page, and a cancelled store stops the generation.
class TPageStoreOutput : public TPictureOutput
{
public:
    TPageStoreOutput(TPageStore &store, bool processEvents) : m_store(store), m_processEvents(processEvents) {}
    bool Stop() override;

protected:
    void Page_Done(int page, const QPicture &picture, QSize size) override;

private:
    TPageStore &m_store;
    bool m_processEvents;
};

// Draws a page recorded in report units of `size` scaled into `target`.
void Draw_Page(QPainter &painter, const QPicture &page, QSize size, const QRectF &target);

// The engine's file kind: its extension and the save dialog's filter for it.
inline constexpr char Report_File_Extension[] = "QRP";
