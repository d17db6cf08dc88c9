#include "platform/canberra/CanberraSoundService.h"

#include <canberra.h>

CanberraSoundService::~CanberraSoundService() {
    if (m_context)
        ca_context_destroy(m_context);
}

void CanberraSoundService::play(const QString& eventId) {
    // A context that could not be opened once will not open later in this run either;
    // trying again on every capture would only cost time.
    if (m_failed)
        return;
    if (!m_context) {
        if (ca_context_create(&m_context) != CA_SUCCESS) {
            m_context = nullptr;
            m_failed = true;
            return;
        }
        // Only a sound server: straight to the sound card would fight the desktop for it, and
        // without a server the capture stays silent.
        ca_context_set_driver(m_context, "pulse");
        ca_context_change_props(m_context, CA_PROP_APPLICATION_NAME, "Glintext",
                                CA_PROP_APPLICATION_ID, "io.glintext.Glintext", nullptr);
        if (ca_context_open(m_context) != CA_SUCCESS) {
            ca_context_destroy(m_context);
            m_context = nullptr;
            m_failed = true;
            return;
        }
    }
    const QByteArray id = eventId.toUtf8();
    ca_context_play(m_context, 0, CA_PROP_EVENT_ID, id.constData(), nullptr);
}
