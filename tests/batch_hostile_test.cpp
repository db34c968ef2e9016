// kestrel-batch fed several hundred mutated case files and option sets, made
// from a seed: each must end within seconds with a status of its own, short
// printable messages, and never exit 0 after a failure. A failing input is
// kept in the test's work folder under its number.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <signal.h>
#include <spawn.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1; // exit status; -1 for a signal or a timeout
    bool timedOut = false;
    std::string errors;
    long peakKilobytes = 0; // the most memory the program held at once
};

// Runs in `folder` when given; a file-size limit in bytes when given.
Outcome runBatch(const std::vector<std::string>& arguments, const fs::path& errorFile,
                 const fs::path& folder = {}, rlim_t fileSizeLimit = RLIM_INFINITY) {
    std::vector<char*> argv;
    std::vector<std::string> owned = arguments;
    for (std::string& a : owned)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    pid_t pid = 0;
    Outcome outcome;
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit own = limit;
    limit.rlim_cur = fileSizeLimit;
    setrlimit(RLIMIT_FSIZE, &limit); // the child inherits it; ours is back at once
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    setrlimit(RLIMIT_FSIZE, &own);
    if (spawned != 0) return outcome;
    posix_spawn_file_actions_destroy(&actions);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    int raw = 0;
    rusage usage{};
    while (wait4(pid, &raw, WNOHANG, &usage) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            wait4(pid, &raw, 0, &usage);
            outcome.timedOut = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (!outcome.timedOut && WIFEXITED(raw)) outcome.status = WEXITSTATUS(raw);
    outcome.peakKilobytes = usage.ru_maxrss;
    std::ifstream in(errorFile, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    outcome.errors = text.str();
    return outcome;
}

// Valid small cases the mutations start from.
const char* const kBases[] = {
    R"({"nx": 12, "ny": 8, "stepCount": 2, "maxIter": 3, "obstacles": [[5, 4], [6, 4]]})",
    R"({"dt": 0.01, "reynolds": 100, "stepCount": 3, "maxIter": 4, "nx": 9, "ny": 7,
        "meshMode": 0, "coordListX": [0, 1, 2, 3, 4, 5, 6, 7, 8, 9],
        "coordListY": [0, 1, 2, 3, 4, 5, 6, 7], "display": "speed", "lineScale": 2,
        "lineWidth": 2})",
    R"({"nx": 6, "ny": 6, "stepCount": 1, "maxIter": 1, "meshSizeX": 3, "meshSizeY": 5})",
};

const char* const kKeys[] = {"dt",         "reynolds",  "stepCount", "maxIter",   "nx",
                             "ny",         "meshMode",  "meshSizeX", "meshSizeY", "coordListX",
                             "coordListY", "obstacles", "display",   "lineScale", "lineWidth"};

// clang-format off
const char* const kValues[] = {
    "0", "-1", "1", "4", "5", "2.5", "-0.0", "1e308", "-1e308", "1e-320", "1e400", "-1e400",
    "18446744073709551615", "18446744073709551616", "-9223372036854775809", "9223372036854775807",
    "32766", "32767", "32768", "-32769", "\"61\"", "\"pressure\"", "\"speed\"", "\"\"", "null",
    "true", "[]", "{}", "[[1, 1]]", "[[0, 0]]", "[[1]]", "[null, 1, 2]", "[1e308, 1.7e308]",
    "-999999", "[-999999, 0, 1]", "[3, 2, 1, 0]", "\"\\u0000\"",
    "\"a\\u001b[31m\""};
// clang-format on

std::string randomBytes(std::mt19937& random, int count) {
    std::string s;
    std::uniform_int_distribution<int> byte(0, 255);
    for (int k = 0; k < count; ++k)
        s += static_cast<char>(byte(random));
    return s;
}

std::string mutate(std::mt19937& random, std::string text) {
    const auto pick = [&](auto& list) {
        return list[std::uniform_int_distribution<std::size_t>(0, std::size(list) - 1)(random)];
    };
    const auto at = [&] {
        return std::uniform_int_distribution<std::size_t>(0, text.size())(random);
    };
    switch (std::uniform_int_distribution<int>(0, 9)(random)) {
    case 0: // one key set to a hostile value
    case 1: {
        const std::string key = std::string("\"") + pick(kKeys) + "\": " + pick(kValues) + ", ";
        text.insert(1, key); // the last of two equal keys counts
        return text;
    }
    case 2: // truncated
        return text.substr(0, at());
    case 3: // raw bytes
        return text.insert(at(), randomBytes(random, 1 + static_cast<int>(random() % 8)));
    case 4: { // an unknown key, long or full of control characters
        std::string key = random() % 2 ? std::string(100000, 'k') : "a\\nb\\u001b]0;x\\u0007";
        return text.insert(1, "\"" + key + "\": 1, ");
    }
    case 5: { // a huge array
        std::string cells = "[";
        const int n = 20000 + static_cast<int>(random() % 80000);
        for (int k = 0; k < n; ++k)
            cells += (k ? ",[" : "[") + std::to_string(1 + k % 5) + "," +
                     std::to_string(1 + k % 4) + "]";
        return text.insert(1, std::string("\"") + (random() % 2 ? "obstacles" : "coordListX") +
                                  "\": " + cells + "], ");
    }
    case 6: // deep nesting
        return text.insert(1, "\"obstacles\": " + std::string(5000, '[') + std::string(5000, ']') +
                                  ", ");
    case 7: // a number with a thousand digits
        return text.insert(1, "\"dt\": 1" + std::string(1000, '0') + ", ");
    case 8: // not an object at all
        return pick(kValues);
    default: // two mutations
        return mutate(random, mutate(random, text));
    }
}

bool printableUtf8Line(const std::string& line) {
    for (unsigned char c : line)
        if (c < 0x20 || c == 0x7F) return false;
    for (std::size_t k = 0; k < line.size();) {
        const auto c = static_cast<unsigned char>(line[k]);
        const std::size_t length = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
        if (length == 0 || k + length > line.size()) return false;
        for (std::size_t n = 1; n < length; ++n)
            if ((static_cast<unsigned char>(line[k + n]) & 0xC0) != 0x80) return false;
        k += length;
    }
    return true;
}

// What a message of a run that ended well may say.
bool informational(const std::string& line) {
    return line.rfind("kestrel-batch: warning: ", 0) == 0 ||
           line.find("座標が設定されていない箇所があります") != std::string::npos;
}

TEST(HostileCases, EveryInputEndsCleanlyWithAStatusOfItsOwn) {
    const char* seedText = std::getenv("KESTREL_HOSTILE_SEED");
    const unsigned seed =
        seedText ? static_cast<unsigned>(std::strtoul(seedText, nullptr, 10)) : 20261206u;
#ifdef __SANITIZE_ADDRESS__
    const int count = 160; // each input takes many times longer there; release runs all 400
#else
    const int count = 400;
#endif
    std::mt19937 random(seed);
    const fs::path work =
        fs::path(::testing::TempDir()) / ("kestrel-hostile-" + std::to_string(getpid()));
    fs::remove_all(work);
    fs::create_directories(work);
    int failures = 0;
    for (int n = 0; n < count && failures < 5; ++n) {
        const fs::path folder = work / std::to_string(n);
        fs::create_directories(folder);
        const std::string text = mutate(random, kBases[n % std::size(kBases)]);
        { std::ofstream(folder / "case.json", std::ios::binary) << text; }
        std::vector<std::string> arguments = {KESTREL_BATCH, (folder / "case.json").string()};
        const char* options[] = {"--table", "--csv", "--image", "--stats", "--vtk", "--history"};
        const char* names[] = {"t.txt",  "t.csv", random() % 2 ? "p.png" : "p.bmp",
                               "s.json", "f.vtk", "h.csv"};
        std::vector<fs::path> outputs;
        for (int k = 0; k < 6; ++k) {
            if (random() % 4 == 0) continue;
            arguments.push_back(options[k]);
            // Now and then two outputs into one file, or one over the case file.
            const int collision = static_cast<int>(random() % 40);
            const fs::path path = collision == 0   ? folder / "case.json"
                                  : collision == 1 ? folder / "t.txt"
                                                   : folder / names[k];
            arguments.push_back(path.string());
            outputs.push_back(path);
        }
        const Outcome outcome = runBatch(arguments, folder / "stderr.txt");
        std::vector<std::string> lines;
        std::stringstream errors(outcome.errors);
        for (std::string line; std::getline(errors, line);)
            if (line.rfind("kestrel-batch:", 0) == 0) lines.push_back(line);

        std::string problem;
        if (outcome.timedOut)
            problem = "did not end within 30 s";
        else if (outcome.status < 0 || outcome.status > 4)
            problem = "ended with status " + std::to_string(outcome.status);
        for (const std::string& line : lines)
            if (line.size() > 300 || !printableUtf8Line(line))
                problem = "message: " + line.substr(0, 300);
        if (outcome.status == 0 && !std::all_of(lines.begin(), lines.end(),
                                                [](const auto& l) { return informational(l); }))
            problem = "exit 0 after a failure";
        if ((outcome.status == 0 || outcome.status == 3))
            for (const fs::path& o : outputs)
                if (!fs::exists(o) || fs::file_size(o) == 0)
                    problem = "missing output " + o.string();
        if (outcome.status != 0 && outcome.status != 3 && outcome.status != 4 && lines.empty())
            problem = "status " + std::to_string(outcome.status) + " without a message";
        if (!problem.empty()) {
            ++failures;
            ADD_FAILURE() << "case " << n << " (seed " << seed << ", kept in " << folder
                          << "): " << problem;
        } else {
            fs::remove_all(folder);
        }
    }
    if (failures == 0) fs::remove_all(work);
}

std::string contentOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeText(const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

const char* const kSmallCase = R"({"nx": 12, "ny": 8, "stepCount": 4, "displayInterval": 1})";
const char* const kDivergingCase = R"({"nx": 20, "ny": 12, "meshSizeX": 1, "meshSizeY": 1,
    "dt": 2, "stepCount": 300,
    "obstacles": [[6, 5], [7, 5], [6, 6], [7, 6]]})";

void twentyOldFrames(const fs::path& f) {
    fs::create_directories(f / "fr");
    for (int n = 1; n <= 20; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "frame-%05d.png", n);
        writeText(f / "fr" / name, "old frame");
    }
}
void onlyThisRunsFrames(const fs::path& f) {
    EXPECT_EQ(std::distance(fs::directory_iterator(f / "fr"), fs::directory_iterator()), 4);
    EXPECT_NE(contentOf(f / "fr/frame-00004.png"), "old frame");
}
void frameLinkingElsewhere(const fs::path& f) {
    writeText(f / "precious.txt", "precious");
    fs::create_directory(f / "fr");
    fs::create_symlink("../precious.txt", f / "fr/frame-00002.png");
}
void readOnlyFile(const fs::path& f) {
    writeText(f / "ro.csv", "keep");
    fs::permissions(f / "ro.csv", fs::perms::owner_read);
}
void danglingLink(const fs::path& f) {
    fs::create_symlink("made.csv", f / "link.csv");
}
void linkStaysALink(const fs::path& f) {
    EXPECT_TRUE(fs::is_symlink(f / "link.csv"));
    EXPECT_EQ(contentOf(f / "made.csv").rfind("i,j,x,y,U,V,P,vorticity\n", 0), 0u);
}
void fileOfItsOwnMode(const fs::path& f) {
    writeText(f / "m.csv", "old");
    chmod((f / "m.csv").c_str(), 0640);
    if (geteuid() == 0) (void)chown((f / "m.csv").c_str(), 65534, 65534);
}
void modeAndOwnerKept(const fs::path& f) {
    struct stat file {};
    stat((f / "m.csv").c_str(), &file);
    EXPECT_EQ(file.st_mode & 07777, 0640u);
    EXPECT_TRUE(geteuid() != 0 || file.st_uid == 65534u);
    EXPECT_NE(contentOf(f / "m.csv"), "old");
}
const std::string kLongestName = std::string(251, 'n') + ".csv";

// Outputs aimed at hostile targets. Whatever the run does, no file it was
// not asked to write changes, and no temporary file is left behind.
struct HostileTarget {
    const char* what;
    std::string options; // the case file first, then the options, split at spaces
    int status;
    const char* says;                           // a part of the message
    const char* replaced = "";                  // a file or folder the run may change
    void (*prepare)(const fs::path&) = nullptr; // in the work folder
    void (*check)(const fs::path&) = nullptr;   // what else must hold afterwards
    rlim_t fileSizeLimit = RLIM_INFINITY;
};

const HostileTarget kHostileTargets[] = {
    {"two spellings", "case.json --csv a.txt --vtk @/a.txt", 1, "is also the file of --csv"},
    {"./ and no folder", "case.json --csv a --table ./a", 1, "is also"},
    {"a folder and back", "case.json --history h.csv --stats sub/../h.csv", 1, "is also", "",
     [](const fs::path& f) { fs::create_directory(f / "sub"); }},
    {"an output among the frames", "case.json --frames fr --image fr/frame-00001.png", 1,
     "one of the files of --frames"},
    {"frames over the case file", "frame-00001.png --frames . --replace-frames", 1,
     "would write over the case file", "",
     [](const fs::path& f) { fs::copy_file(f / "case.json", f / "frame-00001.png"); }},
    {"a missing folder", "case.json --csv missing/x.csv", 1, "cannot be reached"},
    {"a file for a folder", "case.json --csv case.json/x.csv", 1, "is not a folder"},
    {"a name too long", "case.json --csv " + std::string(300, 'n'), 1, "too long"},
    {"a folder for a file", "case.json --csv d", 1, "is a folder", "",
     [](const fs::path& f) { fs::create_directory(f / "d"); }},
    {"a read-only file", "case.json --csv ro.csv", 1, "read-only", "", readOnlyFile},
    {"earlier frames", "case.json --frames fr", 1, "--replace-frames", "", twentyOldFrames},
    {"earlier frames replaced", "case.json --frames fr --replace-frames", 0, "", "fr",
     twentyOldFrames, onlyThisRunsFrames},
    {"a frame linking elsewhere", "case.json --frames fr --replace-frames", 0, "", "fr",
     frameLinkingElsewhere,
     [](const fs::path& f) { EXPECT_FALSE(fs::is_symlink(f / "fr/frame-00002.png")); }},
    {"a dangling link", "case.json --csv link.csv", 0, "", "made.csv", danglingLink,
     linkStaysALink},
    {"a mode and owner of its own", "case.json --csv m.csv", 0, "", "m.csv", fileOfItsOwnMode,
     modeAndOwnerKept},
    {"the longest name", "case.json --csv " + kLongestName, 0, "", "", nullptr,
     [](const fs::path& f) { EXPECT_TRUE(fs::exists(f / kLongestName)); }},
    {"standard output, through its links", "case.json --csv /dev/stdout", 0, ""},
    {"a full disk", "case.json --csv big.csv --stats s.json", 4, "File too large", "s.json",
     [](const fs::path& f) { writeText(f / "big.csv", "the old table"); }, nullptr, 512},
    {"a diverging run whose output fails", "case.json --csv big.csv", 4, "the run diverged", "",
     [](const fs::path& f) { writeText(f / "case.json", kDivergingCase); },
     [](const fs::path& f) {
         EXPECT_NE(contentOf(f / "stderr.txt").find("File too large"), std::string::npos);
     },
     512},
};

// Files near the size limit made of many tiny values: each is refused while
// it is read, holding little more than the file's text.
TEST(HostileCases, LargeFilesOfTinyValuesAreReadWithBoundedMemory) {
    const fs::path work =
        fs::path(::testing::TempDir()) / ("kestrel-large-" + std::to_string(getpid()));
    fs::create_directories(work);
#ifdef __SANITIZE_ADDRESS__
    const std::size_t bytes = 6u << 20; // reading is many times slower there
#else
    const std::size_t bytes = 60u << 20;
#endif
    const struct {
        const char* head;
        const char* entry;
        const char* says;
    } inputs[] = {
        {R"({"x": [{})", ",{}", R"("x" is not a known key)"},
        {R"({"obstacles": [[])", ",[]", "must be an array of [i, j] pairs"},
        {R"({"nx": 4000, "ny": 4000, "obstacles": [[1,1])", ",[1,1]", "not valid JSON"},
    };
    for (const auto& input : inputs) {
        SCOPED_TRACE(input.head);
        std::string text = input.head;
        text.reserve(bytes + 16);
        while (text.size() < bytes)
            text += input.entry;
        writeText(work / "case.json", text); // no closing bracket: refused at the very end
        const Outcome outcome =
            runBatch({KESTREL_BATCH, (work / "case.json").string()}, work / "stderr.txt");
        EXPECT_EQ(outcome.status, 1) << outcome.errors;
        EXPECT_NE(outcome.errors.find(input.says), std::string::npos) << outcome.errors;
#ifndef __SANITIZE_ADDRESS__ // its quarantine keeps freed memory on purpose
        EXPECT_LT(outcome.peakKilobytes, 4 * static_cast<long>(bytes >> 10))
            << "the runner held " << outcome.peakKilobytes / 1024 << " MiB";
#endif
    }
    fs::remove_all(work);
}

TEST(HostileTargets, NothingIsLostAndNothingIsLeftBehind) {
    const fs::path work =
        fs::path(::testing::TempDir()) / ("kestrel-targets-" + std::to_string(getpid()));
    for (const HostileTarget& t : kHostileTargets) {
        SCOPED_TRACE(t.what);
        fs::remove_all(work);
        fs::create_directories(work);
        writeText(work / "case.json", kSmallCase);
        if (t.prepare) t.prepare(work);
        std::map<fs::path, std::string> before;
        for (const auto& entry : fs::recursive_directory_iterator(work))
            if (entry.is_regular_file()) before[entry.path()] = contentOf(entry.path());
        std::vector<std::string> arguments = {KESTREL_BATCH};
        std::istringstream options(t.options);
        for (std::string o; options >> o;)
            arguments.push_back(o.rfind("@/", 0) == 0 ? (work / o.substr(2)).string() : o);
        const Outcome outcome = runBatch(arguments, work / "stderr.txt", work, t.fileSizeLimit);
        EXPECT_EQ(outcome.status, t.status) << outcome.errors;
        EXPECT_NE(outcome.errors.find(t.says), std::string::npos) << outcome.errors;
        for (const auto& [file, content] : before) {
            const fs::path name = fs::relative(file, work);
            if (*t.replaced == '\0' || name.string().rfind(t.replaced, 0) != 0) {
                EXPECT_EQ(contentOf(file), content) << name << " changed";
            }
        }
        for (const auto& entry : fs::recursive_directory_iterator(work))
            EXPECT_EQ(entry.path().filename().string().rfind(".kestrel-", 0), std::string::npos)
                << "left behind: " << entry.path();
        if (t.check) t.check(work);
    }
    fs::remove_all(work);
}

} // namespace
