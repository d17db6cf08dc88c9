#pragma once

#include <QString>

#include <functional>

class AppSettings;
class L10n;
class QWidget;

// Builds the bodies of the guide's four pages in the current language. The permission row's
// state and its two actions come from the owner, which runs the grant flow.
class OnboardingPages {
public:
    struct PermissionRow {
        std::function<bool()> granted;
        std::function<void()> allow;
    };

    OnboardingPages(AppSettings& settings, const L10n& l10n);

    QWidget* welcome() const;
    QWidget* permissions(const PermissionRow& row) const;
    QWidget* tutorial() const;
    QWidget* consent() const;

private:
    QString text(const char* key) const;
    QWidget* switchRow(const char* titleKey, const char* bodyKey, const char* settingKey,
                       QWidget* parent) const;

    AppSettings& m_settings;
    const L10n& m_l10n;
};
