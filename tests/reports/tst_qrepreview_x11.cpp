// The preview window under a real X server (Xvfb, the xcb platform), with key
// events sent through the server as a keyboard sends them: the title the window
// system is given, and keys typed one right after another.
#include "InformesPrueba.h"

#include "Avisos.h"
#include "PreviewArea.h"
#include "QRepPreview.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

// A connection of its own to the X server, to read what the window system sees
// and to type.
class Servidor
{
public:
    Servidor() : m_c(xcb_connect(nullptr, nullptr)) {}
    ~Servidor() { xcb_disconnect(m_c); }
    bool valido() const { return m_c && !xcb_connection_has_error(m_c); }

    QByteArray propiedad(xcb_window_t ventana, const char *nombre, const char *tipo)
    {
        const xcb_atom_t atomo = Atomo(nombre), clase = Atomo(tipo);
        xcb_get_property_reply_t *r =
            xcb_get_property_reply(m_c, xcb_get_property(m_c, 0, ventana, atomo, clase, 0, 1024), nullptr);
        QByteArray valor;
        if (r) {
            valor = QByteArray(static_cast<const char *>(xcb_get_property_value(r)), xcb_get_property_value_length(r));
            std::free(r);
        }
        return valor;
    }

    // Presses and releases keys (X keysyms) in order; a held key is listed in `mantener`.
    void teclear(std::initializer_list<xcb_keysym_t> teclas, xcb_keysym_t mantener = 0)
    {
        if (mantener)
            Tecla(XCB_KEY_PRESS, mantener);
        for (xcb_keysym_t t : teclas) {
            Tecla(XCB_KEY_PRESS, t);
            Tecla(XCB_KEY_RELEASE, t);
        }
        if (mantener)
            Tecla(XCB_KEY_RELEASE, mantener);
        xcb_flush(m_c);
        xcb_aux_sync();
    }

private:
    xcb_atom_t Atomo(const char *nombre)
    {
        xcb_intern_atom_reply_t *r =
            xcb_intern_atom_reply(m_c, xcb_intern_atom(m_c, 0, uint16_t(strlen(nombre)), nombre), nullptr);
        const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(r);
        return a;
    }
    xcb_keycode_t Codigo(xcb_keysym_t simbolo)
    {
        const xcb_setup_t *setup = xcb_get_setup(m_c);
        const int n = setup->max_keycode - setup->min_keycode + 1;
        xcb_get_keyboard_mapping_reply_t *r = xcb_get_keyboard_mapping_reply(
            m_c, xcb_get_keyboard_mapping(m_c, setup->min_keycode, uint8_t(n)), nullptr);
        xcb_keycode_t codigo = 0;
        if (r) {
            const xcb_keysym_t *s = xcb_get_keyboard_mapping_keysyms(r);
            for (int i = 0; i < n * r->keysyms_per_keycode && !codigo; ++i)
                if (s[i] == simbolo)
                    codigo = xcb_keycode_t(setup->min_keycode + i / r->keysyms_per_keycode);
            std::free(r);
        }
        return codigo;
    }
    void Tecla(uint8_t tipo, xcb_keysym_t simbolo)
    {
        xcb_test_fake_input(m_c, tipo, Codigo(simbolo), XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    }
    void xcb_aux_sync() { std::free(xcb_get_input_focus_reply(m_c, xcb_get_input_focus(m_c), nullptr)); }

    xcb_connection_t *m_c;
};

constexpr xcb_keysym_t kAvPag = 0xff56, kP = 0x0070, k3 = 0x0033, kC = 0x0063, kAlt = 0xffe9, kEsc = 0xff1b,
                       kMenosNumerico = 0xffad;

TFormQRepPreview *Vista_Abierta()
{
    for (QWidget *v : QApplication::topLevelWidgets())
        if (auto *w = qobject_cast<TFormQRepPreview *>(v); w && w->isVisible())
            return w;
    return nullptr;
}

} // namespace

class TstQRepPreviewX11 : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void tituloYTeclado();
};

void TstQRepPreviewX11::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    Avisos_Prueba::Sin_Ventanas(true);
}

void TstQRepPreviewX11::tituloYTeclado()
{
    Servidor x;
    QVERIFY(x.valido());
    TMemoryTable filas = Filas(120);
    TReport informe = Informe_Listado(filas);
    informe.Title = QStringLiteral("Averías de prueba");

    bool hecho = false;
    QTimer reloj;
    reloj.setInterval(20);
    connect(&reloj, &QTimer::timeout, this, [&] {
        TFormQRepPreview *w = Vista_Abierta();
        if (!w || !w->PanelNumPag->isVisible())
            return;
        reloj.stop();
        hecho = true;
        QPointer<TFormQRepPreview> vista(w);
        auto terminar = qScopeGuard([&] { delete vista.data(); });
        QTRY_VERIFY(w->isActiveWindow());

        // The window system is given the caption as it is: the accent, and the
        // fifteen blanks at the end.
        const QByteArray titulo = x.propiedad(xcb_window_t(w->winId()), "_NET_WM_NAME", "UTF8_STRING");
        QCOMPARE(QString::fromUtf8(titulo), QStringLiteral(" Averías de prueba") + QString(15, QLatin1Char(' ')));

        // Page Down is acted on when the key comes up.
        x.teclear({kAvPag});
        QTRY_COMPARE(w->QRPreview->Page_Number(), 2);
        // P and a number typed at once: the number replaces the page shown.
        x.teclear({kP, k3});
        QTRY_COMPARE(w->QRPreview->Page_Number(), 3);
        QCOMPARE(w->sePage->text(), QStringLiteral("3"));
        w->BtnCerrar->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), w->BtnCerrar);
        // The keypad's minus steps the zoom out.
        const int zoom = w->QRPreview->Zoom();
        x.teclear({kMenosNumerico});
        QTRY_VERIFY(w->QRPreview->Zoom() < zoom);
        // Alt with C (the close button's letter) does nothing; Esc closes.
        x.teclear({kC}, kAlt);
        QTest::qWait(200);
        QVERIFY(vista && vista->isVisible());
        x.teclear({kEsc});
        QTRY_VERIFY(!vista || !vista->isVisible());
    });
    reloj.start();
    Previsualizar_Informe(informe, true, true);
    QVERIFY(hecho);
    QVERIFY(!Vista_Abierta());
}

QTEST_MAIN(TstQRepPreviewX11)
#include "tst_qrepreview_x11.moc"
