#pragma once
// The case files opened or saved last, newest first, kept in the user's
// settings between sessions.
#include <QString>
#include <QStringList>

namespace kestrel {

class RecentCases {
  public:
    static constexpr int kMaxEntries = 8;

    QStringList paths() const;
    // Puts the file first (once, by its absolute path).
    void add(const QString& path);
    void remove(const QString& path);

  private:
    void store(const QStringList& paths);
};

} // namespace kestrel
