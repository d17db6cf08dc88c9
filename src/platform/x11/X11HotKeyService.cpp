#include "platform/x11/X11HotKeyService.h"

#include <QSocketNotifier>
#include <QTimer>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cstdlib>

namespace {
constexpr quint16 numLockMask = XCB_MOD_MASK_2;
constexpr quint16 capsLockMask = XCB_MOD_MASK_LOCK;
} // namespace

X11HotKeyService::X11HotKeyService(const QByteArray& displayName, QObject* parent)
    : HotKeyService(parent) {
    xcb_connection_t* connection =
        xcb_connect(displayName.isEmpty() ? nullptr : displayName.constData(), nullptr);
    if (!connection || xcb_connection_has_error(connection)) {
        if (connection)
            xcb_disconnect(connection);
        return;
    }
    const xcb_setup_t* setup = xcb_get_setup(connection);
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(setup);
    if (!screens.rem) {
        xcb_disconnect(connection);
        return;
    }
    m_connection = connection;
    m_root = screens.data->root;
    m_symbols = xcb_key_symbols_alloc(m_connection);
    m_notifier = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(m_connection),
                                                   QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &X11HotKeyService::readEvents);
}

X11HotKeyService::~X11HotKeyService() {
    if (!m_connection)
        return;
    m_notifier.reset();
    for (auto it = m_grabs.cbegin(); it != m_grabs.cend(); ++it) {
        for (const Grab& grab : it.value()) {
            for (quint16 lock : lockVariants())
                xcb_ungrab_key(m_connection, grab.keycode, m_root, grab.modifiers | lock);
        }
    }
    if (m_symbols)
        xcb_key_symbols_free(m_symbols);
    xcb_flush(m_connection);
    xcb_disconnect(m_connection);
}

quint32 X11HotKeyService::keysymFor(Qt::Key key) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return quint32('0' + (key - Qt::Key_0));
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return quint32('a' + (key - Qt::Key_A));
    return 0;
}

quint16 X11HotKeyService::modifierMaskFor(Qt::KeyboardModifiers modifiers) {
    quint16 mask = 0;
    if (modifiers & Qt::ShiftModifier)
        mask |= XCB_MOD_MASK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        mask |= XCB_MOD_MASK_CONTROL;
    if (modifiers & Qt::AltModifier)
        mask |= XCB_MOD_MASK_1;
    if (modifiers & Qt::MetaModifier)
        mask |= XCB_MOD_MASK_4;
    return mask;
}

QList<quint16> X11HotKeyService::lockVariants() {
    return {0, capsLockMask, numLockMask, quint16(capsLockMask | numLockMask)};
}

bool X11HotKeyService::registerHotKey(quint32 id, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    if (!m_connection)
        return false;
    unregisterHotKey(id);
    const quint32 keysym = keysymFor(key);
    if (!keysym)
        return false;
    xcb_keycode_t* codes = xcb_key_symbols_get_keycode(m_symbols, keysym);
    if (!codes)
        return false;
    const quint16 mask = modifierMaskFor(modifiers);

    QList<Grab> grabs;
    QList<xcb_void_cookie_t> cookies;
    for (xcb_keycode_t* code = codes; *code != XCB_NO_SYMBOL; ++code) {
        grabs.append({*code, mask});
        for (quint16 lock : lockVariants()) {
            cookies.append(xcb_grab_key_checked(m_connection, 1, m_root, mask | lock, *code,
                                                XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        }
    }
    std::free(codes);

    // BadAccess on any variant means another client has the combination: take none of it,
    // so a half-working shortcut never depends on the state of the lock keys.
    bool ok = !grabs.isEmpty();
    for (const xcb_void_cookie_t& cookie : cookies) {
        if (xcb_generic_error_t* error = xcb_request_check(m_connection, cookie)) {
            ok = false;
            std::free(error);
        }
    }
    if (!ok) {
        for (const Grab& grab : grabs) {
            for (quint16 lock : lockVariants())
                xcb_ungrab_key(m_connection, grab.keycode, m_root, grab.modifiers | lock);
        }
    } else {
        m_grabs.insert(id, grabs);
    }
    xcb_flush(m_connection);
    // Waiting for the replies may have queued events the socket notifier will not see.
    QTimer::singleShot(0, this, &X11HotKeyService::readEvents);
    return ok;
}

void X11HotKeyService::unregisterHotKey(quint32 id) {
    if (!m_connection)
        return;
    const QList<Grab> grabs = m_grabs.take(id);
    if (grabs.isEmpty())
        return;
    for (const Grab& grab : grabs) {
        for (quint16 lock : lockVariants())
            xcb_ungrab_key(m_connection, grab.keycode, m_root, grab.modifiers | lock);
    }
    // A round trip, so the combination is free for others when this returns.
    std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    QTimer::singleShot(0, this, &X11HotKeyService::readEvents);
}

void X11HotKeyService::readEvents() {
    if (!m_connection)
        return;
    QList<quint32> presses;
    while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
        const quint8 type = event->response_type & 0x7f;
        if (type == XCB_KEY_PRESS) {
            auto* key = reinterpret_cast<xcb_key_press_event_t*>(event);
            const quint16 state = key->state & ~(numLockMask | capsLockMask) & 0xff;
            for (auto it = m_grabs.cbegin(); it != m_grabs.cend(); ++it) {
                for (const Grab& grab : it.value()) {
                    if (grab.keycode == key->detail && grab.modifiers == state)
                        presses.append(it.key());
                }
            }
            // The passive grab turned into an active keyboard grab; give it back at once so
            // the window the press opens can take the keyboard while the key is still down.
            xcb_ungrab_keyboard(m_connection, XCB_CURRENT_TIME);
            xcb_flush(m_connection);
        } else if (type == XCB_MAPPING_NOTIFY) {
            xcb_refresh_keyboard_mapping(m_symbols,
                                         reinterpret_cast<xcb_mapping_notify_event_t*>(event));
        }
        std::free(event);
    }
    for (quint32 id : presses)
        Q_EMIT pressed(id);
}
