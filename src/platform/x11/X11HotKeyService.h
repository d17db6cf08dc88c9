#pragma once

#include "platform/HotKeyService.h"

#include <QHash>
#include <QList>

#include <memory>

class QSocketNotifier;
struct xcb_connection_t;
struct _XCBKeySymbols;

// Passive key grabs on the root window through a private xcb connection, so key events
// never pass through the toolkit's own event queue.
class X11HotKeyService : public HotKeyService {
    Q_OBJECT
public:
    // Opens the display named by $DISPLAY (or `displayName`); isValid() is false without one.
    explicit X11HotKeyService(const QByteArray& displayName = {}, QObject* parent = nullptr);
    ~X11HotKeyService() override;

    bool isValid() const { return m_connection != nullptr; }

    bool registerHotKey(quint32 id, Qt::Key key, Qt::KeyboardModifiers modifiers) override;
    void unregisterHotKey(quint32 id) override;

    // X11 keysym for the keys a shortcut may use; 0 for others.
    static quint32 keysymFor(Qt::Key key);
    // Core modifier mask for a Qt modifier set.
    static quint16 modifierMaskFor(Qt::KeyboardModifiers modifiers);
    // The four lock variants each grab is made with: none, CapsLock, NumLock, both.
    static QList<quint16> lockVariants();

private:
    struct Grab {
        quint8 keycode;
        quint16 modifiers; // without lock bits
    };

    void readEvents();

    xcb_connection_t* m_connection = nullptr;
    _XCBKeySymbols* m_symbols = nullptr;
    quint32 m_root = 0;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QHash<quint32, QList<Grab>> m_grabs;
};
