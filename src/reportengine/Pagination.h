// Generation of a report: walks its record sources, lays its bands onto pages,
// draws them and calls the band handlers. What becomes of the pages is up to
// the output: a page store, a printer, an export.
#pragma once

#include "ReportDef.h"

#include <QPicture>
#include <QRect>
#include <QString>

#include <vector>

class QPainter;

// A text as printed, for exports (page coordinates, report units).
struct TPrintedText
{
    QRect Rect;
    QString Text;
    Qt::Alignment Alignment;
    bool Rich = false; // a memo: may hold several lines
};

// One printing of a band.
struct TPrintedBand
{
    int Page = 0;
    const TReportBand *Band = nullptr;
    QRect Rect; // page coordinates, report units
    std::vector<TPrintedText> Texts;
};

class TReportOutput
{
public:
    virtual ~TReportOutput() = default;
    // A page begins; the painter draws it in report units until End_Page.
    virtual QPainter *Begin_Page(int page, QSize size) = 0;
    // The page is complete.
    virtual void End_Page(int page) = 0;
    // Asked after each completed page: true ends the generation there.
    virtual bool Stop() { return false; }
    // Every band printed, with its texts when Wants_Texts.
    virtual bool Wants_Texts() const { return false; }
    virtual void Band_Printed(const TPrintedBand &) {}
};

// An output that records each page as a picture and hands it on.
class TPictureOutput : public TReportOutput
{
public:
    ~TPictureOutput() override;
    QPainter *Begin_Page(int page, QSize size) override;
    void End_Page(int page) override;

protected:
    virtual void Page_Done(int page, const QPicture &picture, QSize size) = 0;

private:
    QPicture m_picture;
    QPainter *m_painter = nullptr;
    QSize m_size;
};

// Generates `report` onto `output` and returns the number of pages made. A
// report whose master source is empty and that is not printed when empty gives
// one blank page. A failure of a handler or a source propagates, with the page
// under way left unfinished. A report that shows its page count is generated
// twice (its BeforeRun runs each time), and only the second pass reaches
// `output`; when the output stops the first one, no page is made.
int Generate_Report(TReport &report, TReportOutput &output);
