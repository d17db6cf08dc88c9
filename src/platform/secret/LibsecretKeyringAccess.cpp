// libsecret pulls in glib, whose headers use names that Qt's keywords would clobber; the build
// defines QT_NO_KEYWORDS, and libsecret still comes first.
#include <libsecret/secret.h>

#include "platform/secret/LibsecretKeyringAccess.h"

#include <functional>

namespace {

constexpr const char* accountAttribute = "account";

using Start = std::function<void(GCancellable*, GAsyncReadyCallback, gpointer)>;

// Where a call's result lands. A call given up after a cancellation may still answer during
// a later call on the same context: its slot then frees itself.
struct Answer {
    GAsyncResult* result = nullptr;
    bool abandoned = false;
};

void deliver(GObject*, GAsyncResult* result, gpointer data) {
    auto* answer = static_cast<Answer*>(data);
    if (answer->abandoned) {
        delete answer;
        return;
    }
    answer->result = G_ASYNC_RESULT(g_object_ref(result));
}

gboolean wakeOnly(gpointer) {
    return G_SOURCE_REMOVE;
}

gboolean expire(gpointer flag) {
    *static_cast<bool*>(flag) = true;
    return G_SOURCE_REMOVE;
}

// Runs `context` until the call `start` begins has answered; once `cancellable` is cancelled,
// at most afterCancelMs longer. Nothing when the call was given up.
GAsyncResult* await(GMainContext* context, GCancellable* cancellable, const Start& start) {
    auto* answer = new Answer;
    g_main_context_push_thread_default(context);
    // A cancellation from another thread wakes the loop once.
    GSource* wake = g_cancellable_source_new(cancellable);
    g_source_set_callback(wake, wakeOnly, nullptr, nullptr);
    g_source_attach(wake, context);
    start(cancellable, deliver, answer);
    GSource* limit = nullptr;
    bool expired = false;
    while (!answer->result && !expired) {
        if (!limit && g_cancellable_is_cancelled(cancellable)) {
            limit = g_timeout_source_new(LibsecretKeyringAccess::afterCancelMs);
            g_source_set_callback(limit, expire, &expired, nullptr);
            g_source_attach(limit, context);
        }
        g_main_context_iteration(context, TRUE);
    }
    for (GSource* source : {wake, limit}) {
        if (source) {
            g_source_destroy(source);
            g_source_unref(source);
        }
    }
    g_main_context_pop_thread_default(context);
    GAsyncResult* result = answer->result;
    if (result)
        delete answer;
    else
        answer->abandoned = true;
    return result;
}

QString takeError(GError* error) {
    if (!error)
        return QStringLiteral("the keyring did not answer");
    const QString text = QString::fromUtf8(error->message);
    g_error_free(error);
    return text;
}

void assign(QString* target, const QString& text) {
    if (target)
        *target = text;
}

} // namespace

struct LibsecretKeyringAccess::Handles {
    QByteArray schemaName;
    SecretSchema schema{};
    GCancellable* cancellable = g_cancellable_new();
    GMainContext* context = g_main_context_new();

    ~Handles() {
        g_object_unref(cancellable);
        g_main_context_unref(context);
    }

    GAsyncResult* await(const Start& start) { return ::await(context, cancellable, start); }
    std::optional<QByteArray> secretOf(SecretRetrievable* item);
};

std::optional<QByteArray> LibsecretKeyringAccess::Handles::secretOf(SecretRetrievable* item) {
    GAsyncResult* result = await([item](GCancellable* c, GAsyncReadyCallback done, gpointer data) {
        secret_retrievable_retrieve_secret(item, c, done, data);
    });
    if (!result)
        return std::nullopt;
    GError* error = nullptr;
    SecretValue* value = secret_retrievable_retrieve_secret_finish(item, result, &error);
    g_object_unref(result);
    if (error)
        g_error_free(error); // an item we cannot read reads as absent
    if (!value)
        return std::nullopt;
    gsize length = 0;
    const gchar* bytes = secret_value_get(value, &length);
    QByteArray secret(bytes, qsizetype(length));
    secret_value_unref(value);
    return secret;
}

LibsecretKeyringAccess::LibsecretKeyringAccess(const QString& schemaName)
    : m_glib(std::make_unique<Handles>()) {
    m_glib->schemaName = schemaName.toUtf8();
    m_glib->schema.name = m_glib->schemaName.constData();
    m_glib->schema.flags = SECRET_SCHEMA_NONE;
    m_glib->schema.attributes[0] = {accountAttribute, SECRET_SCHEMA_ATTRIBUTE_STRING};
    m_glib->schema.attributes[1] = {nullptr, SecretSchemaAttributeType(0)};
}

LibsecretKeyringAccess::~LibsecretKeyringAccess() = default;

KeyringAccess::Items LibsecretKeyringAccess::loadAll() {
    Items items;
    const SecretSchema* schema = &m_glib->schema;
    GAsyncResult* result =
        m_glib->await([schema](GCancellable* c, GAsyncReadyCallback done, gpointer data) {
            const auto flags = SecretSearchFlags(SECRET_SEARCH_ALL | SECRET_SEARCH_UNLOCK |
                                                 SECRET_SEARCH_LOAD_SECRETS);
            secret_password_search(schema, flags, c, done, data, nullptr);
        });
    GError* error = nullptr;
    GList* found = result ? secret_password_search_finish(result, &error) : nullptr;
    if (result)
        g_object_unref(result);
    if (!result || error) {
        items.error = takeError(error);
        return items;
    }
    items.ok = true;
    for (GList* node = found; node; node = node->next) {
        auto* item = static_cast<SecretRetrievable*>(node->data);
        GHashTable* attributes = secret_retrievable_get_attributes(item);
        const auto* account =
            static_cast<const char*>(g_hash_table_lookup(attributes, accountAttribute));
        const QString name = QString::fromUtf8(account ? account : "");
        if (account && !items.values.contains(name)) {
            if (const std::optional<QByteArray> secret = m_glib->secretOf(item))
                items.values.insert(name, *secret);
        }
        g_hash_table_unref(attributes);
    }
    g_list_free_full(found, g_object_unref);
    return items;
}

bool LibsecretKeyringAccess::store(const QString& account, const QByteArray& value,
                                   QString* error) {
    const QByteArray name = account.toUtf8();
    const QByteArray label = "Glintext: " + name;
    SecretValue* secret = secret_value_new(value.constData(), gssize(value.size()), "text/plain");
    const SecretSchema* schema = &m_glib->schema;
    GAsyncResult* result = m_glib->await([&](GCancellable* c, GAsyncReadyCallback done,
                                             gpointer data) {
        secret_password_store_binary(schema, SECRET_COLLECTION_DEFAULT, label.constData(), secret,
                                     c, done, data, accountAttribute, name.constData(), nullptr);
    });
    secret_value_unref(secret);
    GError* failure = nullptr;
    const bool stored = result && secret_password_store_finish(result, &failure);
    if (result)
        g_object_unref(result);
    if (stored)
        return true;
    assign(error, takeError(failure));
    return false;
}

bool LibsecretKeyringAccess::clear(const QString& account, QString* error) {
    const QByteArray name = account.toUtf8();
    const SecretSchema* schema = &m_glib->schema;
    GAsyncResult* result = m_glib->await([&](GCancellable* c, GAsyncReadyCallback done,
                                             gpointer data) {
        secret_password_clear(schema, c, done, data, accountAttribute, name.constData(), nullptr);
    });
    GError* failure = nullptr;
    // FALSE without an error means there was nothing to remove.
    if (result) {
        secret_password_clear_finish(result, &failure);
        g_object_unref(result);
        if (!failure)
            return true;
    }
    assign(error, takeError(failure));
    return false;
}

void LibsecretKeyringAccess::cancel() {
    g_cancellable_cancel(m_glib->cancellable);
}
