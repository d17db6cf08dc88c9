#pragma once

#include "platform/LoginItem.h"

#include <QList>

// Records register (true) and unregister (false) calls; fails them all when told to.
class FakeLoginItem : public LoginItem {
public:
    bool registerApp(QString* error) override { return answer(true, error); }
    bool unregisterApp(QString* error) override { return answer(false, error); }
    QList<bool> calls;
    bool fail = false;

private:
    bool answer(bool reg, QString* error) {
        calls.append(reg);
        if (fail && error)
            *error = "The operation couldn't be completed.";
        return !fail;
    }
};
