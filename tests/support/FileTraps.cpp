#include "FileTraps.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <linux/capability.h>
#include <sys/mount.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace velmor::test {

namespace {
constexpr unsigned overrideCaps = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);

// Capabilities are per thread: the raw system calls change only the calling one.
bool capabilities(__user_cap_data_struct (&data)[2], bool set) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return syscall(set ? SYS_capset : SYS_capget, &header, data) == 0;
}
} // namespace

NoPermissionOverride::NoPermissionOverride() {
    __user_cap_data_struct data[2]{};
    if (!capabilities(data, false))
        return;
    savedEffective_ = data[0].effective;
    data[0].effective &= ~overrideCaps;
    lowered_ = capabilities(data, true);
}

NoPermissionOverride::~NoPermissionOverride() {
    if (!lowered_)
        return;
    __user_cap_data_struct data[2]{};
    if (capabilities(data, false)) {
        data[0].effective = savedEffective_;
        capabilities(data, true);
    }
}

SmallFilesystem::SmallFilesystem(const QString& folder, int kilobytes) : folder_(folder) {
    QDir().mkpath(folder);
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k";
    if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, options.constData()) ==
        0)
        mounted_ = true;
    else
        refusal_ = QString::fromLocal8Bit(std::strerror(errno));
}

SmallFilesystem::~SmallFilesystem() {
    if (mounted_)
        ::umount2(QFile::encodeName(folder_).constData(), MNT_DETACH);
}

void SmallFilesystem::fill() {
    QFile filler(folder_ + QStringLiteral("/filler"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return;
    const QByteArray block(512, 'f');
    while (filler.write(block) == block.size()) {
    }
}

void SmallFilesystem::empty() {
    QFile::remove(folder_ + QStringLiteral("/filler"));
}

StdoutLines::StdoutLines() {
    testing::internal::CaptureStdout();
}

StdoutLines::~StdoutLines() {
    if (capturing_)
        text_ = testing::internal::GetCapturedStdout();
    // Failures reported while capturing went into the capture too: show them.
    if (testing::Test::HasFailure())
        std::fputs(text_.c_str(), stderr);
}

QStringList StdoutLines::lines() {
    if (capturing_) {
        text_ = testing::internal::GetCapturedStdout();
        capturing_ = false;
    }
    return QString::fromStdString(text_).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace velmor::test
