#pragma once

#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>

namespace velmor {

// The files Velmor could not save or read just now, each with one line for the window that
// says what happened and what the user can do. A file's line stays until it is saved again.
// Reports may come from any thread; they are taken on the thread the list lives in.
class FileProblems final : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    QStringList lines() const { return lines_.values(); }
    bool isEmpty() const { return lines_.isEmpty(); }

    void set(const QString& file, const QString& line);
    void clear(const QString& file);

signals:
    void changed();

private:
    QMap<QString, QString> lines_; // file path -> line
};

} // namespace velmor
