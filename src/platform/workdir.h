#pragma once
// The process's working directory is part of the program's state: commands make the
// relevant directory current and address files by bare names.

#include <QString>

namespace pelorin {

// The working directory as the system reports it: no trailing '/' except at the root.
QString workingDirectory();

// Makes path the working directory; raises InOutError when it cannot.
void setWorkingDirectory(const QString &path);

// Appends '/' to any path that does not end in one (the root "/" stays as it is).
QString includeBackslash(const QString &path);

// Remembers the working directory and restores it when the scope ends, on every path.
class WorkingDirectoryGuard
{
public:
    WorkingDirectoryGuard();
    ~WorkingDirectoryGuard();
    WorkingDirectoryGuard(const WorkingDirectoryGuard &) = delete;
    WorkingDirectoryGuard &operator=(const WorkingDirectoryGuard &) = delete;
    const QString &saved() const { return mSaved; }

private:
    QString mSaved;
};

// Lets pending window messages run (repaints, the Stop button's click).
void letMessagesRun();

} // namespace pelorin
