// Exports of a report as text, comma-separated text or HTML. Each kind is a
// filter component: while one exists its kind is offered by the save dialog,
// in the order the components were created. An export generates the report
// afresh through a writer of that kind, which receives the texts of each band.
#pragma once

#include "Pagination.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <memory>

// Receives the bands of one generation and builds the file's contents.
class TExportWriter
{
public:
    virtual ~TExportWriter() = default;
    virtual void Begin(const TReport &report) { Q_UNUSED(report) }
    virtual void Page(int page) = 0; // a page begins
    virtual void Band(const TPrintedBand &band) = 0;
    virtual QByteArray Finish() = 0;
};

class TExportFilter : public QObject
{
    Q_OBJECT
public:
    explicit TExportFilter(QObject *parent = nullptr);
    ~TExportFilter() override;

    virtual QString Description() const = 0; // "Text file"
    virtual QString Extension() const = 0;   // "TXT"
    virtual std::unique_ptr<TExportWriter> Create_Writer() const = 0;
};

// Plain text: a line per line of each band, every text at the column of its place.
class TTextFilter : public TExportFilter
{
    Q_OBJECT
public:
    using TExportFilter::TExportFilter;
    QString Description() const override { return QStringLiteral("Text file"); }
    QString Extension() const override { return QStringLiteral("TXT"); }
    std::unique_ptr<TExportWriter> Create_Writer() const override;
};

// Comma-separated: a record per line of each band, a field per text, quoted
// where the text holds the separator, a quote or a line break.
class TCSVFilter : public TExportFilter
{
    Q_OBJECT
public:
    explicit TCSVFilter(QObject *parent = nullptr, QChar separator = QLatin1Char(','))
        : TExportFilter(parent), m_separator(separator) {}
    QString Description() const override { return QStringLiteral("Comma Separated"); }
    QString Extension() const override { return QStringLiteral("CSV"); }
    std::unique_ptr<TExportWriter> Create_Writer() const override;
    QChar Separator() const { return m_separator; }

private:
    QChar m_separator;
};

// HTML: a table per page, a row per line of each band.
class THTMLFilter : public TExportFilter
{
    Q_OBJECT
public:
    using TExportFilter::TExportFilter;
    QString Description() const override { return QStringLiteral("HTML document"); }
    QString Extension() const override { return QStringLiteral("HTM"); }
    std::unique_ptr<TExportWriter> Create_Writer() const override;
};

// The filter components that exist, in the order they were created.
QList<TExportFilter *> Registered_Filters();

// The save dialog's filters in the "name|pattern|name|pattern" form: the
// engine's own kind first, then each registered filter.
QString Save_Filter_Text();

// Generates `report` afresh through a writer of `filter` and writes the result
// to `file` through a temporary file that replaces it only once complete.
// Failures are EInOutError with a Spanish message; the old file stays.
void Export_Report(TReport &report, const TExportFilter &filter, const QString &file);

// One comma-separated field, quoted when it must be.
QString Csv_Field(const QString &text, QChar separator = QLatin1Char(','));
