#pragma once

#include <QString>
#include <QUrl>

namespace velmor {

// The about screen's texts and its feedback link.
struct AboutRules {
    static constexpr const char* feedbackAddress = "feedback@velmor.app";

    static QString versionLine(); // "v0.1 alpha"
    // mailto:<address>?subject=Velmor%20feedback; invalid when the address does not make a link.
    static QUrl feedbackUrl(const QString& address = QString::fromLatin1(feedbackAddress));
};

} // namespace velmor
