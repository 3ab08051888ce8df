#include "PageStore.h"

#include "StoreErrors.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QFile>
#include <QPainter>
#include <QSaveFile>

#include <cerrno>

namespace {

// A saved report: this mark, the format version, the page count, then each
// page as its size (report units) and the bytes of its picture, and an end mark
// that tells a complete file from one cut short.
const QByteArray kMark("QLV-QRP\x1a", 8);
const QByteArray kEndMark("QRP-END\x1a", 8);
constexpr quint32 kVersion = 1;
const QByteArray kPictureMark("QPIC", 4);

EInOutError Save_Error(const QString &file, const QString &detail, int err)
{
    return EInOutError(EInOutError::windowsCodeFromErrno(err),
                       QStringLiteral("No se ha podido guardar el informe en \"%1\": %2").arg(file, detail));
}

EInOutError Not_A_Report(const QString &file, const QString &why)
{
    return EInOutError(0, QStringLiteral("No se puede cargar el fichero \"%1\": %2").arg(file, why));
}

} // namespace

TPageStore::TPageStore(QObject *parent) : QObject(parent)
{
}

TPageStore::~TPageStore() = default;

qint64 TPageStore::Memory_Bytes() const
{
    qint64 total = qint64(m_pages.capacity() * sizeof(TPage));
    for (const TPage &p : m_pages)
        total += p.Picture.size();
    return total;
}

void TPageStore::Start()
{
    m_status = Busy;
}

void TPageStore::Add_Page(const QPicture &picture, QSize size)
{
    m_pages.push_back(TPage{picture, size});
    emit pageAvailable(Page_Count());
}

void TPageStore::Finish()
{
    m_status = Finished;
    emit pageAvailable(Page_Count());
}

void TPageStore::Fail(std::exception_ptr failure)
{
    m_failure = failure;
    m_status = Finished;
    emit failed();
    emit pageAvailable(Page_Count());
}

void TPageStore::Close_Preview()
{
    if (m_previewClosed)
        return;
    m_previewClosed = true;
    emit previewClosed();
}

void TPageStore::Save(const QString &file) const
{
    if (m_status != Finished)
        throw EInOutError(0, QStringLiteral("El informe aún no está terminado; espere a que se termine para guardarlo."));
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        throw Save_Error(file, out.errorString(), errno);
    QDataStream s(&out);
    s.setVersion(QDataStream::Qt_6_0);
    s.writeRawData(kMark.constData(), int(kMark.size()));
    s << kVersion << quint32(m_pages.size());
    for (const TPage &p : m_pages) {
        s << qint32(p.Size.width()) << qint32(p.Size.height()) << quint32(p.Picture.size());
        s.writeRawData(p.Picture.data(), int(p.Picture.size()));
    }
    s.writeRawData(kEndMark.constData(), int(kEndMark.size()));
    const int err = errno;
    if (s.status() != QDataStream::Ok || out.error() != QFileDevice::NoError) {
        const QString detail = out.errorString();
        out.cancelWriting();
        throw Save_Error(file, detail, err);
    }
    if (!out.commit())
        throw Save_Error(file, out.errorString(), errno);
}

void TPageStore::Load(const QString &file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        throw EInOutError(EInOutError::windowsCodeFromErrno(errno),
                          QStringLiteral("No se puede abrir el fichero \"%1\": %2").arg(file, in.errorString()));
    auto readError = [&] {
        return EInOutError(EInOutError::windowsCodeFromErrno(errno),
                           QStringLiteral("No se puede leer el fichero \"%1\": %2").arg(file, in.errorString()));
    };
    const qint64 size = in.size();
    const QString cut = QStringLiteral("está incompleto o dañado.");
    // Read as it goes, each page straight into its picture: the whole file is
    // never held twice. Every length is checked against what the file holds
    // before anything is allocated for it.
    QByteArray head = in.read(kMark.size() + 8);
    if (in.error() != QFileDevice::NoError)
        throw readError();
    if (size == 0)
        throw Not_A_Report(file, QStringLiteral("está vacío."));
    if (!head.startsWith(kMark))
        throw Not_A_Report(file, QStringLiteral("no es un informe guardado."));
    if (head.size() < kMark.size() + 8)
        throw Not_A_Report(file, cut);
    QDataStream s(head);
    s.setVersion(QDataStream::Qt_6_0);
    s.skipRawData(int(kMark.size()));
    quint32 version = 0, count = 0;
    s >> version >> count;
    if (version > kVersion)
        throw Not_A_Report(file, QStringLiteral("lo guardó una versión más reciente del programa."));
    if (version == 0)
        throw Not_A_Report(file, QStringLiteral("no es un informe guardado."));
    // Each page takes at least its three numbers: a count beyond that is damage.
    if (count > quint64(size) / 12)
        throw Not_A_Report(file, cut);

    std::vector<TPage> pages;
    pages.reserve(count);
    QByteArray buffer;
    for (quint32 i = 0; i < count; ++i) {
        const QByteArray numbers = in.read(12);
        if (in.error() != QFileDevice::NoError)
            throw readError();
        if (numbers.size() != 12)
            throw Not_A_Report(file, cut);
        QDataStream n(numbers);
        qint32 w = 0, h = 0;
        quint32 length = 0;
        n >> w >> h >> length;
        if (w <= 0 || h <= 0 || length < quint32(kPictureMark.size()) || qint64(length) > size - in.pos())
            throw Not_A_Report(file, cut);
        if (buffer.size() < qsizetype(length))
            buffer.resize(length);
        if (in.read(buffer.data(), length) != qint64(length))
            throw in.error() != QFileDevice::NoError ? readError() : Not_A_Report(file, cut);
        if (!buffer.startsWith(kPictureMark))
            throw Not_A_Report(file, cut);
        TPage page;
        page.Size = QSize(w, h);
        page.Picture.setData(buffer.constData(), length);
        pages.push_back(std::move(page));
    }
    const QByteArray end = in.read(kEndMark.size() + 1);
    if (end != kEndMark)
        throw Not_A_Report(file, cut);

    m_pages = std::move(pages);
    m_status = Finished;
}

bool TPageStoreOutput::Stop()
{
    if (m_processEvents)
        QCoreApplication::processEvents();
    return m_store.Cancelled();
}

void TPageStoreOutput::Page_Done(int, const QPicture &picture, QSize size)
{
    m_store.Add_Page(picture, size);
}

void Draw_Page(QPainter &painter, const QPicture &page, QSize size, const QRectF &target)
{
    if (size.isEmpty())
        return;
    // A picture replayed on a device of another resolution is scaled by the
    // ratio of the two (a PDF at 600 dpi would get the page 6.25 times too big):
    // that ratio is taken back out.
    double kx = 1, ky = 1;
    if (const QPaintDevice *device = painter.device()) {
        kx = double(page.logicalDpiX()) / device->logicalDpiX();
        ky = double(page.logicalDpiY()) / device->logicalDpiY();
    }
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(kx * target.width() / size.width(), ky * target.height() / size.height());
    painter.drawPicture(0, 0, page);
    painter.restore();
}
