#pragma once

#include <QString>
#include <QTemporaryDir>

namespace velmor::test {

// A private HOME with its own XDG folders for one test, removed afterwards, so nothing leaks
// between tests or into the user's files.
class TestHome {
public:
    TestHome();
    ~TestHome();
    QString path() const { return dir_.path(); }
    QString configDir() const { return dir_.path() + QStringLiteral("/config"); }
    QString dataDir() const { return dir_.path() + QStringLiteral("/data"); }

private:
    QTemporaryDir dir_;
    QByteArray oldHome_, oldConfig_, oldData_;
};

// Reads a whole file, or an empty array.
QByteArray readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);

} // namespace velmor::test
