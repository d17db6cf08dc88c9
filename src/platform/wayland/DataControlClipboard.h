#pragma once

#include "platform/ClipboardService.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QSocketNotifier;
struct wl_display;
struct wl_registry;
struct wl_seat;
struct zwlr_data_control_device_v1;
struct zwlr_data_control_manager_v1;
struct zwlr_data_control_offer_v1;
struct zwlr_data_control_source_v1;

// The clipboard of a Wayland session, held through the compositor's data-control protocol on
// a connection of its own. The ordinary Wayland clipboard takes text only from the client
// with the keyboard focus (KWin refuses it otherwise), and a capture sets its text after the
// overlay closed, when the application has no window left. Data control needs no focus: the
// text stays offered until another client replaces it, and readers are served from the GUI
// thread's event loop, never blocking it. Where the compositor offers no data control, or the
// connection breaks, `fallback` does the work. GUI thread.
class DataControlClipboard : public QObject, public ClipboardService {
    Q_OBJECT
public:
    // The MIME types the text is offered as, the UTF-8 one first.
    static const QStringList textTypes;
    // How long text() waits for another client to hand over its selection.
    static constexpr int readTimeoutMs = 1000;

    // Connects to the compositor of WAYLAND_DISPLAY, or of `display` (a socket name or path)
    // when given. nullptr when there is none or it offers no data control.
    static std::unique_ptr<DataControlClipboard> connect(ClipboardService& fallback,
                                                         const QString& display = {});
    ~DataControlClipboard() override;

    void setText(const QString& text) override;
    // The selection as text: what was set here while it is still the selection, else what
    // the client holding it hands over within readTimeoutMs (empty when it holds no text or
    // does not answer in time).
    QString text() override;

    // The text set last is still the selection.
    bool ownsSelection() const { return m_source != nullptr; }
    // False once the connection broke; the fallback clipboard serves from then on.
    bool isConnected() const { return m_display != nullptr; }

Q_SIGNALS:
    // Another client took the selection over from the text set here.
    void selectionLost();

private:
    struct Offer {
        zwlr_data_control_offer_v1* proxy = nullptr;
        QStringList types;
    };

    DataControlClipboard(ClipboardService& fallback, wl_display* display);
    bool bindGlobals();
    void watchConnection();
    void dispatch();
    void flush();
    bool checkConnection();
    void disconnectFromCompositor();
    QString readOffer(const Offer& offer);

    static void onGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface,
                         uint32_t version);
    static void onGlobalRemove(void* data, wl_registry* registry, uint32_t name);
    static void onDataOffer(void* data, zwlr_data_control_device_v1* device,
                            zwlr_data_control_offer_v1* offer);
    static void onSelection(void* data, zwlr_data_control_device_v1* device,
                            zwlr_data_control_offer_v1* offer);
    static void onFinished(void* data, zwlr_data_control_device_v1* device);
    static void onPrimarySelection(void* data, zwlr_data_control_device_v1* device,
                                   zwlr_data_control_offer_v1* offer);
    static void onOfferType(void* data, zwlr_data_control_offer_v1* offer, const char* type);
    static void onSend(void* data, zwlr_data_control_source_v1* source, const char* type,
                       int32_t fd);
    static void onCancelled(void* data, zwlr_data_control_source_v1* source);

    ClipboardService& m_fallback;
    wl_display* m_display = nullptr;
    wl_registry* m_registry = nullptr;
    wl_seat* m_seat = nullptr;
    zwlr_data_control_manager_v1* m_manager = nullptr;
    zwlr_data_control_device_v1* m_device = nullptr;
    zwlr_data_control_source_v1* m_source = nullptr;
    QByteArray m_text;
    // Offers the compositor introduced and has not yet named the selection, and the one it did.
    std::vector<std::unique_ptr<Offer>> m_incoming;
    std::unique_ptr<Offer> m_selection;
    QSocketNotifier* m_readNotifier = nullptr;
    QSocketNotifier* m_writeNotifier = nullptr;
};
