// libsecret pulls in glib, whose headers use names that Qt's keywords would clobber; the build
// defines QT_NO_KEYWORDS, and libsecret still comes first.
#include <libsecret/secret.h>

#include "platform/secret/LibsecretKeyringAccess.h"

namespace {

constexpr const char* accountAttribute = "account";

QString takeError(GError* error) {
    if (!error)
        return QStringLiteral("the keyring gave no reason");
    const QString text = QString::fromUtf8(error->message);
    g_error_free(error);
    return text;
}

void assign(QString* target, const QString& text) {
    if (target)
        *target = text;
}

} // namespace

struct LibsecretKeyringAccess::Glib {
    QByteArray schemaName;
    SecretSchema schema{};
    GCancellable* cancellable = g_cancellable_new();

    ~Glib() { g_object_unref(cancellable); }
};

LibsecretKeyringAccess::LibsecretKeyringAccess(const QString& schemaName)
    : m_glib(std::make_unique<Glib>()) {
    m_glib->schemaName = schemaName.toUtf8();
    m_glib->schema.name = m_glib->schemaName.constData();
    m_glib->schema.flags = SECRET_SCHEMA_NONE;
    m_glib->schema.attributes[0] = {accountAttribute, SECRET_SCHEMA_ATTRIBUTE_STRING};
    m_glib->schema.attributes[1] = {nullptr, SecretSchemaAttributeType(0)};
}

LibsecretKeyringAccess::~LibsecretKeyringAccess() = default;

KeyringAccess::Items LibsecretKeyringAccess::loadAll() {
    Items items;
    GError* error = nullptr;
    const auto flags =
        SecretSearchFlags(SECRET_SEARCH_ALL | SECRET_SEARCH_UNLOCK | SECRET_SEARCH_LOAD_SECRETS);
    GList* found =
        secret_password_search_sync(&m_glib->schema, flags, m_glib->cancellable, &error, nullptr);
    if (error) {
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
        GError* readError = nullptr;
        SecretValue* value =
            secret_retrievable_retrieve_secret_sync(item, m_glib->cancellable, &readError);
        if (value && account && !items.values.contains(name)) {
            gsize length = 0;
            const gchar* bytes = secret_value_get(value, &length);
            items.values.insert(name, QByteArray(bytes, qsizetype(length)));
        }
        if (value)
            secret_value_unref(value);
        if (readError)
            g_error_free(readError); // an item we cannot read reads as absent
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
    GError* failure = nullptr;
    const gboolean stored = secret_password_store_binary_sync(
        &m_glib->schema, SECRET_COLLECTION_DEFAULT, label.constData(), secret, m_glib->cancellable,
        &failure, accountAttribute, name.constData(), nullptr);
    secret_value_unref(secret);
    if (stored)
        return true;
    assign(error, takeError(failure));
    return false;
}

bool LibsecretKeyringAccess::clear(const QString& account, QString* error) {
    const QByteArray name = account.toUtf8();
    GError* failure = nullptr;
    // FALSE without an error means there was nothing to remove.
    secret_password_clear_sync(&m_glib->schema, m_glib->cancellable, &failure, accountAttribute,
                               name.constData(), nullptr);
    if (!failure)
        return true;
    assign(error, takeError(failure));
    return false;
}

void LibsecretKeyringAccess::cancel() {
    g_cancellable_cancel(m_glib->cancellable);
}
