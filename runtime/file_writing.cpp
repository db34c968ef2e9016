#include "file_writing.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrel {

namespace {

// The named temporary file being written, if any: an interrupt removes it.
char gPending[PATH_MAX + 1];
volatile std::sig_atomic_t gHasPending = 0;

extern "C" void removePendingAndEnd(int signal) {
    if (gHasPending) ::unlink(gPending);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// Interrupts are held while a temporary name comes and goes, so the name
// an interrupt would remove is always the one on disk.
class InterruptsHeld {
  public:
    InterruptsHeld() {
        sigset_t held;
        sigemptyset(&held);
        for (int s : {SIGINT, SIGTERM, SIGHUP})
            sigaddset(&held, s);
        ::sigprocmask(SIG_BLOCK, &held, &previous_);
    }
    ~InterruptsHeld() { ::sigprocmask(SIG_SETMASK, &previous_, nullptr); }
    InterruptsHeld(const InterruptsHeld&) = delete;
    InterruptsHeld& operator=(const InterruptsHeld&) = delete;

  private:
    sigset_t previous_;
};

void setPending(const std::string& path) {
    const std::size_t n = std::min(path.size(), sizeof gPending - 1);
    std::memcpy(gPending, path.data(), n);
    gPending[n] = '\0';
    gHasPending = 1;
}

Failure reason(int error) {
    return Failure(Reason{std::strerror(error), SystemReasonInJapanese(error)});
}

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

// The name a write reaches: a chain of links followed to its end, which
// need not exist. A loop stops on a link, whose open then fails.
std::string followLinks(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        char target[PATH_MAX];
        const ssize_t n = ::readlink(path.c_str(), target, sizeof target);
        if (n < 0 || n == static_cast<ssize_t>(sizeof target)) return path;
        const std::string next(target, static_cast<std::size_t>(n));
        path = next.front() == '/' ? next : folderOf(path) + "/" + next;
    }
    return path;
}

bool isReadOnly(const struct stat& file, const std::string& path) {
    // The mode bits also hold for root, whom access() lets write anything.
    return (file.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

// Writes every piece to an open descriptor; the errno of the first failure, 0 on success.
int writeAll(int fd, const ByteSource& source) {
    for (std::string_view bytes = source(); !bytes.empty(); bytes = source()) {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (n < 0) {
                if (errno == EINTR) continue;
                return errno;
            }
            done += static_cast<std::size_t>(n);
        }
    }
    return 0;
}

std::optional<Failure> writeInPlace(const std::string& path, const ByteSource& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) return reason(errno);
    int error = writeAll(fd, bytes);
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error != 0) return reason(error);
    return std::nullopt;
}

std::string shortTemporaryName(const std::string& folder) {
    static std::mt19937 pick{std::random_device{}()};
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string name = folder + "/.kestrel-";
    for (int k = 0; k < 6; ++k)
        name += letters[pick() % (sizeof letters - 1)];
    return name;
}

// A file being written beside its target: unnamed where the file system
// allows (nothing is left whatever happens to the program), otherwise under
// a short hidden name that an interrupt removes.
class TemporaryFile {
  public:
    explicit TemporaryFile(const std::string& folder) : folder_(folder) {
        fd_ = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        if (fd_ >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)) {
            error_ = fd_ < 0 ? errno : 0;
            return;
        }
        const InterruptsHeld held;
        name_ = folder + "/.kestrel-XXXXXX";
        fd_ = ::mkstemp(name_.data());
        error_ = fd_ < 0 ? errno : 0;
        if (fd_ >= 0)
            setPending(name_);
        else
            name_.clear();
    }
    ~TemporaryFile() {
        if (fd_ >= 0) ::close(fd_);
        forget();
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return fd_; }
    int error() const { return error_; }

    // Names the file if it has no name yet, closes it and renames it over
    // target; the errno of a failure, 0 on success.
    int moveOver(const std::string& target) {
        if (name_.empty()) {
            const InterruptsHeld held;
            const std::string self = "/proc/self/fd/" + std::to_string(fd_);
            int error = EEXIST;
            for (int tries = 0; tries < 100 && error == EEXIST; ++tries) {
                name_ = shortTemporaryName(folder_);
                error = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name_.c_str(),
                                 AT_SYMLINK_FOLLOW) == 0
                            ? 0
                            : errno;
            }
            if (error != 0) {
                name_.clear();
                return error;
            }
            setPending(name_);
        }
        const int closed = ::close(fd_);
        fd_ = -1;
        if (closed != 0) return errno;
        if (::rename(name_.c_str(), target.c_str()) != 0) return errno;
        const InterruptsHeld held; // the name is the target's now: nothing to remove
        gHasPending = 0;
        name_.clear();
        return 0;
    }

  private:
    void forget() {
        if (name_.empty()) return;
        const InterruptsHeld held;
        ::unlink(name_.c_str());
        gHasPending = 0;
        name_.clear();
    }

    std::string folder_;
    std::string name_; // empty while the file has no name
    int fd_ = -1;
    int error_ = 0;
};

std::optional<Failure> replace(const std::string& target, const struct stat* existing,
                               const ByteSource& bytes) {
    TemporaryFile temporary(folderOf(target));
    if (temporary.fd() < 0) return reason(temporary.error());
    const int fd = temporary.fd();
    mode_t mode;
    if (existing) {
        mode = existing->st_mode & 07777;
        if ((existing->st_uid != ::geteuid() || existing->st_gid != ::getegid()) &&
            ::fchown(fd, existing->st_uid, existing->st_gid) != 0 &&
            existing->st_uid != ::geteuid())
            return writeInPlace(target, bytes); // a new file would change hands
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    // After fchown, which may clear the set-id bits.
    int error = ::fchmod(fd, mode) == 0 ? 0 : errno;
    if (error == 0) error = writeAll(fd, bytes);
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    if (error == 0) error = temporary.moveOver(target);
    if (error != 0) return reason(error);
    return std::nullopt;
}

// A device or pipe the name reaches, through links or not (/dev/stdout):
// written in place under its own name.
bool isStream(const std::string& path) {
    struct stat file {};
    return ::stat(path.c_str(), &file) == 0 && !S_ISREG(file.st_mode) && !S_ISDIR(file.st_mode);
}

} // namespace

std::optional<Failure> WriteWholeFile(const std::string& path, std::string_view bytes) {
    bool given = false;
    return WriteWholeFile(path, [&]() -> std::string_view {
        if (given) return {};
        given = true;
        return bytes;
    });
}

std::optional<Failure> WriteWholeFile(const std::string& path, const ByteSource& bytes) {
    if (path.empty()) return reason(ENOENT);
    if (isStream(path)) return writeInPlace(path, bytes);
    const std::string target = followLinks(path);
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) return reason(EISDIR);
    if (exists && isReadOnly(existing, target))
        return Failure(Reason{"the file is read-only", "読み取り専用のファイルです"});
    return replace(target, exists ? &existing : nullptr, bytes);
}

std::optional<std::string> FolderWriteProblem(const std::string& folder) {
    struct stat place {};
    if (::stat(folder.c_str(), &place) != 0)
        return "the folder \"" + folder + "\" cannot be reached: " + reason(errno).english();
    if (!S_ISDIR(place.st_mode)) return "\"" + folder + "\" is not a folder";
    const TemporaryFile probe(folder);
    if (probe.fd() < 0)
        return "nothing can be written in \"" + folder + "\": " + reason(probe.error()).english();
    return std::nullopt;
}

std::optional<std::string> OutputTargetProblem(const std::string& path) {
    if (path.empty()) return "no file name";
    if (isStream(path)) {
        if (::access(path.c_str(), W_OK) != 0) return reason(errno).english();
        return std::nullopt;
    }
    const std::string target = followLinks(path);
    const std::string folder = folderOf(target);
    const std::string name = nameOf(target);
    if (name.empty()) return "the name ends in a folder, not a file";
    const long longest = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    if (name.size() > static_cast<std::size_t>(longest > 0 ? longest : NAME_MAX))
        return reason(ENAMETOOLONG).english();
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode)) return "it is a folder";
        if (isReadOnly(existing, target)) return "the file is read-only";
    }
    return FolderWriteProblem(folder);
}

std::string ResolvedOutputPath(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    const std::string target = followLinks(path);
    std::error_code error;
    const auto folder = std::filesystem::weakly_canonical(
        std::filesystem::absolute(folderOf(target), error), error);
    std::string resolved = (folder / nameOf(target)).lexically_normal().string();
    if (resolved.size() > 1 && resolved.back() == '/') resolved.pop_back(); // "dir/." named dir
    return resolved;
}

void ProtectOutputsFromSignals() {
    for (int s : {SIGINT, SIGTERM, SIGHUP})
        std::signal(s, removePendingAndEnd);
    std::signal(SIGXFSZ, SIG_IGN);
}

std::string SystemReasonInJapanese(int error) {
    switch (error) {
    case ENOENT:
        return "ファイルかフォルダーがありません";
    case EACCES:
    case EPERM:
        return "権限がありません";
    case EISDIR:
        return "フォルダーです";
    case ENOTDIR:
        return "途中の名前がフォルダーではありません";
    case ENOSPC:
    case EDQUOT:
        return "ディスクに空きがありません";
    case EROFS:
        return "読み取り専用のファイルシステムです";
    case EFBIG:
        return "ファイルの大きさの上限を超えます";
    case ENAMETOOLONG:
        return "名前が長すぎます";
    default:
        return std::strerror(error);
    }
}

} // namespace kestrel
