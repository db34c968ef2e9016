#include "recent_cases.h"

#include <QFileInfo>
#include <QSettings>

namespace kestrel {

namespace {

const char* const kKey = "recentCases";

} // namespace

QStringList RecentCases::paths() const {
    return QSettings().value(kKey).toStringList();
}

void RecentCases::add(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = paths();
    list.removeAll(absolute);
    list.prepend(absolute);
    store(list.mid(0, kMaxEntries));
}

void RecentCases::remove(const QString& path) {
    QStringList list = paths();
    list.removeAll(path);
    store(list);
}

void RecentCases::store(const QStringList& paths) {
    QSettings settings;
    settings.setValue(kKey, paths);
}

} // namespace kestrel
