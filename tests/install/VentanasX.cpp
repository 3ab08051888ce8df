// Windows of other programs on the X display, through xcb.
#include "VentanasX.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace VentanasX {

namespace {

template <typename T>
using Respuesta = std::unique_ptr<T, decltype(&free)>;

xcb_connection_t *conexion()
{
    static xcb_connection_t *c = nullptr;
    if (!c) {
        c = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(c)) {
            xcb_disconnect(c);
            c = nullptr;
        }
    }
    return c;
}

xcb_atom_t atomo(xcb_connection_t *c, const char *nombre)
{
    Respuesta<xcb_intern_atom_reply_t> r(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, quint16(qstrlen(nombre)), nombre), nullptr), &free);
    return r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
}

QByteArray propiedad(xcb_connection_t *c, xcb_window_t w, xcb_atom_t nombre, xcb_atom_t tipo)
{
    Respuesta<xcb_get_property_reply_t> r(xcb_get_property_reply(c, xcb_get_property(c, 0, w, nombre, tipo, 0, 4096), nullptr),
                                          &free);
    if (!r || r->type == XCB_ATOM_NONE)
        return QByteArray();
    return QByteArray(static_cast<const char *>(xcb_get_property_value(r.get())), xcb_get_property_value_length(r.get()));
}

bool mapeada(xcb_connection_t *c, xcb_window_t w)
{
    Respuesta<xcb_get_window_attributes_reply_t> a(
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, w), nullptr), &free);
    return a && a->map_state == XCB_MAP_STATE_VIEWABLE;
}

} // namespace

QList<tVentana> Visibles()
{
    QList<tVentana> r;
    xcb_connection_t *c = conexion();
    if (!c)
        return r;
    const xcb_window_t raiz = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    Respuesta<xcb_query_tree_reply_t> arbol(xcb_query_tree_reply(c, xcb_query_tree(c, raiz), nullptr), &free);
    if (!arbol)
        return r;
    const xcb_atom_t netNombre = atomo(c, "_NET_WM_NAME"), utf8 = atomo(c, "UTF8_STRING");
    const xcb_window_t *hijas = xcb_query_tree_children(arbol.get());
    for (int i = 0; i < xcb_query_tree_children_length(arbol.get()); ++i) {
        if (!mapeada(c, hijas[i]))
            continue;
        tVentana v;
        v.Id = hijas[i];
        QByteArray titulo = propiedad(c, hijas[i], netNombre, utf8);
        if (titulo.isNull())
            titulo = propiedad(c, hijas[i], XCB_ATOM_WM_NAME, XCB_ATOM_STRING);
        v.Titulo = QString::fromUtf8(titulo);
        // "instance\0class\0"
        const QList<QByteArray> clase = propiedad(c, hijas[i], XCB_ATOM_WM_CLASS, XCB_ATOM_STRING).split('\0');
        if (clase.size() > 1)
            v.Clase = clase.at(1);
        r << v;
    }
    return r;
}

bool Enfocar(quint32 Id)
{
    xcb_connection_t *c = conexion();
    if (!c)
        return false;
    const quint32 arriba = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(c, Id, XCB_CONFIG_WINDOW_STACK_MODE, &arriba);
    Respuesta<xcb_generic_error_t> e(
        xcb_request_check(c, xcb_set_input_focus_checked(c, XCB_INPUT_FOCUS_PARENT, Id, XCB_CURRENT_TIME)), &free);
    return !e;
}

bool Visible(quint32 Id)
{
    xcb_connection_t *c = conexion();
    return c && mapeada(c, Id);
}

} // namespace VentanasX
