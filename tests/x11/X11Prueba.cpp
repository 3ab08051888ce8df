// Xvfb for one test program, XTest key presses and window titles through xcb.
#include "X11Prueba.h"

#include <QByteArray>
#include <QWidget>

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>
#include <vector>

namespace X11Prueba {

namespace {

pid_t g_xvfb = -1;
QString g_motivo = QStringLiteral("sin iniciar");
xcb_connection_t *g_conexion = nullptr;

void sinX(const QString &motivo)
{
    g_motivo = motivo;
    qputenv("QT_QPA_PLATFORM", "offscreen");
}

xcb_connection_t *conexion()
{
    if (!g_conexion && g_motivo.isEmpty()) {
        g_conexion = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(g_conexion)) {
            xcb_disconnect(g_conexion);
            g_conexion = nullptr;
        }
    }
    return g_conexion;
}

// Waits until the server has processed every request sent so far.
void sincronizar(xcb_connection_t *c)
{
    free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

xcb_keycode_t teclaDe(xcb_connection_t *c, quint32 keysym)
{
    const xcb_setup_t *setup = xcb_get_setup(c);
    const int primero = setup->min_keycode, cuantos = setup->max_keycode - setup->min_keycode + 1;
    std::unique_ptr<xcb_get_keyboard_mapping_reply_t, decltype(&free)> mapa(
        xcb_get_keyboard_mapping_reply(c, xcb_get_keyboard_mapping(c, setup->min_keycode, quint8(cuantos)), nullptr),
        &free);
    if (!mapa)
        return 0;
    const xcb_keysym_t *simbolos = xcb_get_keyboard_mapping_keysyms(mapa.get());
    const int porTecla = mapa->keysyms_per_keycode;
    for (int i = 0; i < cuantos; ++i)
        if (simbolos[i * porTecla] == keysym) // unshifted
            return xcb_keycode_t(primero + i);
    return 0;
}

xcb_atom_t atomo(xcb_connection_t *c, const char *nombre)
{
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> r(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, quint16(qstrlen(nombre)), nombre), nullptr), &free);
    return r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
}

QByteArray propiedad(xcb_connection_t *c, xcb_window_t w, xcb_atom_t nombre, xcb_atom_t tipo)
{
    std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> r(
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, nombre, tipo, 0, 4096), nullptr), &free);
    if (!r || r->type == XCB_ATOM_NONE)
        return QByteArray();
    return QByteArray(static_cast<const char *>(xcb_get_property_value(r.get())),
                      xcb_get_property_value_length(r.get()));
}

} // namespace

QString Arrancar_Xvfb()
{
    int tubo[2];
    if (pipe(tubo) != 0) {
        sinX(QStringLiteral("no se pudo crear una tubería para Xvfb"));
        return g_motivo;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        // The server ends with this program, however it ends.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        close(tubo[0]);
        const QByteArray fd = QByteArray::number(tubo[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.constData(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
               "-noreset", static_cast<char *>(nullptr));
        _exit(127);
    }
    close(tubo[1]);
    if (pid < 0) {
        close(tubo[0]);
        sinX(QStringLiteral("no se pudo arrancar Xvfb"));
        return g_motivo;
    }
    // Xvfb writes the display it took, then a newline, once it accepts clients.
    QByteArray numero;
    pollfd p{tubo[0], POLLIN, 0};
    while (!numero.endsWith('\n') && poll(&p, 1, 20000) > 0) {
        char b[16];
        const ssize_t n = read(tubo[0], b, sizeof b);
        if (n <= 0)
            break;
        numero.append(b, int(n));
    }
    close(tubo[0]);
    bool ok = false;
    const int pantalla = numero.trimmed().toInt(&ok);
    if (!ok) {
        kill(pid, SIGTERM);
        int estado = 0;
        waitpid(pid, &estado, 0);
        sinX(WIFEXITED(estado) && WEXITSTATUS(estado) == 127 ? QStringLiteral("Xvfb no está instalado")
                                                              : QStringLiteral("Xvfb no arrancó"));
        return g_motivo;
    }
    g_xvfb = pid;
    g_motivo.clear();
    qputenv("DISPLAY", ":" + QByteArray::number(pantalla));
    qputenv("QT_QPA_PLATFORM", "xcb");
    return QString();
}

void Parar_Xvfb()
{
    if (g_conexion) {
        xcb_disconnect(g_conexion);
        g_conexion = nullptr;
    }
    if (g_xvfb > 0) {
        kill(g_xvfb, SIGTERM);
        waitpid(g_xvfb, nullptr, 0);
        g_xvfb = -1;
    }
}

QString Motivo_Sin_X()
{
    return g_motivo;
}

bool Pulsar(quint32 keysym, Qt::KeyboardModifiers modificadores)
{
    xcb_connection_t *c = conexion();
    if (!c)
        return false;
    const xcb_keycode_t tecla = teclaDe(c, keysym);
    if (!tecla)
        return false;
    std::vector<xcb_keycode_t> mods;
    if (modificadores & Qt::ShiftModifier)
        mods.push_back(teclaDe(c, 0xffe1)); // Shift_L
    if (modificadores & Qt::ControlModifier)
        mods.push_back(teclaDe(c, 0xffe3)); // Control_L
    if (modificadores & Qt::AltModifier)
        mods.push_back(teclaDe(c, 0xffe9)); // Alt_L
    for (xcb_keycode_t m : mods)
        xcb_test_fake_input(c, XCB_KEY_PRESS, m, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_test_fake_input(c, XCB_KEY_PRESS, tecla, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_test_fake_input(c, XCB_KEY_RELEASE, tecla, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    for (auto m = mods.rbegin(); m != mods.rend(); ++m)
        xcb_test_fake_input(c, XCB_KEY_RELEASE, *m, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    sincronizar(c);
    return true;
}

bool Teclear(const QString &texto)
{
    for (const QChar ch : texto) {
        const quint32 keysym = ch == QLatin1Char(' ') ? 0x20u : quint32(ch.toLower().unicode());
        if (!Pulsar(keysym))
            return false;
    }
    return true;
}

QString Titulo_Ventana(const QWidget *w)
{
    xcb_connection_t *c = conexion();
    if (!c || !w)
        return QString();
    const auto id = xcb_window_t(w->window()->winId());
    const QByteArray utf8 = propiedad(c, id, atomo(c, "_NET_WM_NAME"), atomo(c, "UTF8_STRING"));
    if (!utf8.isNull())
        return QString::fromUtf8(utf8);
    return QString::fromLatin1(propiedad(c, id, XCB_ATOM_WM_NAME, XCB_ATOM_STRING));
}

} // namespace X11Prueba
