#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <sys/stat.h>

// Every file the command writes goes through this class. It writes a new file
// under a name of its own in the target's folder and renames it over the target
// only when it is complete and on the disk, so the target holds either its old
// contents or the whole new ones. A failure removes only the new file.
//
// The target must be a regular file that the user may write, or not exist in a
// folder that does; a symbolic link is followed and the link kept. The new file
// takes the permissions (and, where allowed, the owner) of the file it
// replaces, else those of any file the user creates.
//
// A target that exists but is empty holds nothing to lose, and whoever made it
// may be reading the result through it, as a thumbnailing service reads the
// empty file it names as the output: it is filled in place, and a failure
// empties it again.
class COutputFile {
public:
    explicit COutputFile(std::string target);
    ~COutputFile();
    COutputFile(const COutputFile&) = delete;
    COutputFile& operator=(const COutputFile&) = delete;

    // Each returns false once anything has failed.
    bool Write(const void* bytes, std::size_t count);
    bool Commit();

    // Gives the file up for `reason`, unless it has already failed.
    void Fail(const std::string& reason);

    bool Failed() const { return !m_error.empty(); }
    // "cannot write OUT: reason", naming the target as it was given.
    const std::string& Error() const { return m_error; }

private:
    bool CheckTarget();
    void OpenEmptyTarget();
    bool CreateBeside();
    bool StreamTo(int handle);
    void TakeOverPermissions();
    void FailWithErrno();
    void Discard();

    std::string m_target;
    std::string m_written;       // the target, or the file its link leads to
    bool m_replaces = false;     // whether m_written exists, as m_replaced
    struct stat m_replaced {};
    bool m_inPlace = false;      // filling the empty m_written itself
    std::string m_newPath;       // until it is renamed or removed
    std::FILE* m_stream = nullptr;
    std::string m_error;
};
