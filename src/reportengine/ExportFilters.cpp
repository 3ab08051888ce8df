#include "ExportFilters.h"

#include "PageStore.h"
#include "StoreErrors.h"

#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cmath>

namespace {

QList<TExportFilter *> &Registry()
{
    static QList<TExportFilter *> filters;
    return filters;
}

// Texts whose tops are this close (report units) share a line.
constexpr int kSameLine = 20;
// The plain-text export writes ten characters to the inch.
constexpr double kUnitsPerColumn = ReportUnits::PerInch / 10.0;

// The texts of a band in reading order, line by line.
std::vector<std::vector<const TPrintedText *>> Lines_Of(const TPrintedBand &band)
{
    std::vector<const TPrintedText *> texts;
    for (const TPrintedText &t : band.Texts)
        texts.push_back(&t);
    std::stable_sort(texts.begin(), texts.end(), [](const TPrintedText *a, const TPrintedText *b) {
        return a->Rect.top() < b->Rect.top();
    });
    std::vector<std::vector<const TPrintedText *>> lines;
    int top = 0;
    for (const TPrintedText *t : texts) {
        if (lines.empty() || t->Rect.top() - top > kSameLine) {
            lines.emplace_back();
            top = t->Rect.top();
        }
        lines.back().push_back(t);
    }
    for (auto &line : lines)
        std::stable_sort(line.begin(), line.end(), [](const TPrintedText *a, const TPrintedText *b) {
            return a->Rect.left() < b->Rect.left();
        });
    return lines;
}

bool All_Empty(const std::vector<const TPrintedText *> &line)
{
    return std::all_of(line.begin(), line.end(), [](const TPrintedText *t) { return t->Text.trimmed().isEmpty(); });
}

QStringList Text_Lines(const QString &text)
{
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t.split(QLatin1Char('\n'));
}

class TTextWriter : public TExportWriter
{
public:
    void Page(int page) override
    {
        if (page > 1)
            m_out += QLatin1Char('\n');
    }
    void Band(const TPrintedBand &band) override
    {
        for (const auto &line : Lines_Of(band)) {
            if (All_Empty(line))
                continue;
            std::vector<QStringList> parts;
            int rows = 0;
            for (const TPrintedText *t : line) {
                parts.push_back(Text_Lines(t->Text));
                rows = std::max(rows, int(parts.back().size()));
            }
            for (int r = 0; r < rows; ++r) {
                QString out;
                for (size_t i = 0; i < line.size(); ++i) {
                    const QString piece = r < parts[i].size() ? parts[i].at(r).trimmed() : QString();
                    if (piece.isEmpty())
                        continue;
                    const TPrintedText &t = *line[i];
                    const int left = int(std::lround((t.Rect.left() - band.Rect.left()) / kUnitsPerColumn));
                    const int right = int(std::lround((t.Rect.right() + 1 - band.Rect.left()) / kUnitsPerColumn));
                    int column = left;
                    if (t.Alignment & Qt::AlignRight)
                        column = right - int(piece.size());
                    else if (t.Alignment & Qt::AlignHCenter)
                        column = (left + right - int(piece.size())) / 2;
                    // Texts never run into each other.
                    const int free = out.isEmpty() ? 0 : int(out.size()) + 1;
                    column = std::max({column, free, 0});
                    out += QString(column - int(out.size()), QLatin1Char(' ')) + piece;
                }
                m_out += out + QLatin1Char('\n');
            }
        }
    }
    QByteArray Finish() override { return m_out.toUtf8(); }

private:
    QString m_out;
};

class TCSVWriter : public TExportWriter
{
public:
    explicit TCSVWriter(QChar separator) : m_separator(separator) {}
    void Page(int) override {}
    void Band(const TPrintedBand &band) override
    {
        for (const auto &line : Lines_Of(band)) {
            if (All_Empty(line))
                continue;
            QStringList fields;
            for (const TPrintedText *t : line)
                fields << Csv_Field(t->Text.trimmed(), m_separator);
            m_out += fields.join(m_separator) + QLatin1String("\r\n");
        }
    }
    QByteArray Finish() override { return m_out.toUtf8(); }

private:
    QChar m_separator;
    QString m_out;
};

class THTMLWriter : public TExportWriter
{
public:
    void Begin(const TReport &report) override
    {
        m_out = QStringLiteral("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>")
            + report.Title.toHtmlEscaped() + QStringLiteral("</title>\n</head>\n<body>\n");
    }
    void Page(int) override
    {
        Close_Table();
        m_out += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\">\n");
        m_open = true;
    }
    void Band(const TPrintedBand &band) override
    {
        for (const auto &line : Lines_Of(band)) {
            if (All_Empty(line))
                continue;
            m_out += QStringLiteral("<tr>");
            for (const TPrintedText *t : line) {
                QString cell = t->Text.trimmed().toHtmlEscaped();
                cell.replace(QLatin1String("\r\n"), QLatin1String("<br>")).replace(QLatin1Char('\n'), QLatin1String("<br>"));
                if (t->Alignment & Qt::AlignRight)
                    m_out += QStringLiteral("<td align=\"right\">");
                else if (t->Alignment & Qt::AlignHCenter)
                    m_out += QStringLiteral("<td align=\"center\">");
                else
                    m_out += QStringLiteral("<td>");
                m_out += cell + QStringLiteral("</td>");
            }
            m_out += QStringLiteral("</tr>\n");
        }
    }
    QByteArray Finish() override
    {
        Close_Table();
        m_out += QStringLiteral("</body>\n</html>\n");
        return m_out.toUtf8();
    }

private:
    void Close_Table()
    {
        if (m_open)
            m_out += QStringLiteral("</table>\n<br>\n");
        m_open = false;
    }
    QString m_out;
    bool m_open = false;
};

// Generation through a writer: the pages are drawn and thrown away.
class TExportOutput : public TPictureOutput
{
public:
    explicit TExportOutput(TExportWriter &writer) : m_writer(writer) {}
    QPainter *Begin_Page(int page, QSize size) override
    {
        m_writer.Page(page);
        return TPictureOutput::Begin_Page(page, size);
    }
    bool Wants_Texts() const override { return true; }
    void Band_Printed(const TPrintedBand &band) override { m_writer.Band(band); }

protected:
    void Page_Done(int, const QPicture &, QSize) override {}

private:
    TExportWriter &m_writer;
};

} // namespace

TExportFilter::TExportFilter(QObject *parent) : QObject(parent)
{
    Registry().append(this);
}

TExportFilter::~TExportFilter()
{
    Registry().removeAll(this);
}

std::unique_ptr<TExportWriter> TTextFilter::Create_Writer() const
{
    return std::make_unique<TTextWriter>();
}

std::unique_ptr<TExportWriter> TCSVFilter::Create_Writer() const
{
    return std::make_unique<TCSVWriter>(m_separator);
}

std::unique_ptr<TExportWriter> THTMLFilter::Create_Writer() const
{
    return std::make_unique<THTMLWriter>();
}

QList<TExportFilter *> Registered_Filters()
{
    return Registry();
}

QString Save_Filter_Text()
{
    const QString own = QString::fromLatin1(Report_File_Extension);
    QString text = QStringLiteral("Report file") + QStringLiteral("(*.") + own + QStringLiteral(")|*.") + own;
    for (const TExportFilter *f : Registry())
        text += QLatin1Char('|') + f->Description() + QStringLiteral(" (*.") + f->Extension() + QStringLiteral(")|*.")
            + f->Extension();
    return text;
}

QString Csv_Field(const QString &text, QChar separator)
{
    if (!text.contains(separator) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))
        && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

void Export_Report(TReport &report, const TExportFilter &filter, const QString &file)
{
    std::unique_ptr<TExportWriter> writer = filter.Create_Writer();
    writer->Begin(report);
    TExportOutput output(*writer);
    Generate_Report(report, output);
    const QByteArray bytes = writer->Finish();

    auto fail = [&](const QString &detail, int err) {
        return EInOutError(EInOutError::windowsCodeFromErrno(err),
                           QStringLiteral("No se ha podido exportar el informe a \"%1\": %2").arg(file, detail));
    };
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        throw fail(out.errorString(), errno);
    if (out.write(bytes) != bytes.size()) {
        const int err = errno;
        const QString detail = out.errorString();
        out.cancelWriting();
        throw fail(detail, err);
    }
    if (!out.commit())
        throw fail(out.errorString(), errno);
}
