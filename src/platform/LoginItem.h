#pragma once

#include <QString>

// Starting the application at login. Each call reports success, or fills `error` with a
// description of what went wrong.
class LoginItem {
public:
    virtual ~LoginItem() = default;
    virtual bool registerApp(QString* error) = 0;
    virtual bool unregisterApp(QString* error) = 0;
};
