#include "core/screens/AboutRules.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace velmor {

QString AboutRules::versionLine() {
    return QCoreApplication::translate("AboutView", "v0.1 alpha");
}

QUrl AboutRules::feedbackUrl(const QString& address) {
    static const QRegularExpression plainAddress(QStringLiteral(R"(^[^@\s?&/:]+@[^@\s?&/:]+$)"));
    if (!plainAddress.match(address).hasMatch())
        return {};
    QUrl url(QStringLiteral("mailto:") + address + QStringLiteral("?subject=Velmor%20feedback"),
             QUrl::StrictMode);
    return url.isValid() ? url : QUrl();
}

} // namespace velmor
