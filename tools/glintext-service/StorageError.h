#pragma once

#include <QString>

#include <stdexcept>

// The database could not be reached or refused a statement. Requests that meet it are
// answered 503; the message goes to the log, never to the client.
class StorageError : public std::runtime_error {
public:
    explicit StorageError(const QString& message) : std::runtime_error(message.toStdString()) {}
};
