// Launch benchmark: starts each program many times with GLYPH_EXIT_ON_FIRST_SHOW
// set, interleaved so that a busy moment of the machine hits every program alike,
// and prints the time from the start of the process to its first painted window
// (minimum, median, maximum) and its peak memory, with the ratios of the medians
// against the yardsticks given with -b.
//
//   launchbench [-n runs] [-b label]... label=path [label=path ...]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Run
{
    double ms = -1;
    long peakKb = 0;
};

double nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_REALTIME, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1.0e6;
}

Run launchOnce(const std::string &path)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return {};
    const double start = nowMs();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        close(pipeFds[0]);
        close(pipeFds[1]);
        // Start-up chatter on stderr is not part of the measurement.
        const int devNull = open("/dev/null", O_WRONLY);
        if (devNull >= 0)
            dup2(devNull, STDERR_FILENO);
        setenv("GLYPH_EXIT_ON_FIRST_SHOW", "1", 1);
        execl(path.c_str(), path.c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);
    std::string out;
    char buffer[256];
    ssize_t n;
    while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0)
        out.append(buffer, static_cast<size_t>(n));
    close(pipeFds[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);

    Run run;
    const size_t at = out.find("first-show ");
    if (at != std::string::npos)
        run.ms = std::atof(out.c_str() + at + 11) - start;
    run.peakKb = usage.ru_maxrss;
    return run;
}

template <typename T> T median(std::vector<T> v)
{
    std::sort(v.begin(), v.end());
    if (v.empty())
        return T{};
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

} // namespace

int main(int argc, char *argv[])
{
    int runs = 30;
    std::vector<std::string> baseLabels;
    std::vector<std::pair<std::string, std::string>> programs;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-n") == 0 && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
            continue;
        }
        if (std::strcmp(argv[i], "-b") == 0 && i + 1 < argc) {
            baseLabels.emplace_back(argv[++i]);
            continue;
        }
        const std::string arg = argv[i];
        const size_t eq = arg.find('=');
        if (eq == std::string::npos) {
            std::fprintf(stderr, "usage: %s [-n runs] [-b label]... label=path ...\n", argv[0]);
            return 2;
        }
        programs.emplace_back(arg.substr(0, eq), arg.substr(eq + 1));
    }
    if (programs.empty())
        return 2;
    if (baseLabels.empty())
        baseLabels.push_back(programs.back().first);
    std::vector<size_t> bases;
    for (const std::string &label : baseLabels) {
        const auto it = std::find_if(programs.begin(), programs.end(),
                                     [&](const auto &p) { return p.first == label; });
        if (it == programs.end()) {
            std::fprintf(stderr, "launchbench: no program labelled %s\n", label.c_str());
            return 2;
        }
        bases.push_back(size_t(it - programs.begin()));
    }

    // One round that is not counted: the first start of each program reads its
    // files from the disk.
    for (const auto &program : programs)
        launchOnce(program.second);

    std::vector<std::vector<double>> times(programs.size());
    std::vector<std::vector<long>> peaks(programs.size());
    for (int r = 0; r < runs; ++r) {
        for (size_t p = 0; p < programs.size(); ++p) {
            const Run run = launchOnce(programs[p].second);
            if (run.ms < 0) {
                std::fprintf(stderr, "%s did not report its first window\n",
                             programs[p].first.c_str());
                return 1;
            }
            times[p].push_back(run.ms);
            peaks[p].push_back(run.peakKb);
        }
    }

    std::printf("%-14s %8s %8s %8s %9s", "program", "min ms", "median", "max ms", "peak MB");
    for (size_t b : bases)
        std::printf("  %14s", ("/ " + programs[b].first).c_str());
    std::printf("\n");
    for (size_t p = 0; p < programs.size(); ++p) {
        const auto [lo, hi] = std::minmax_element(times[p].begin(), times[p].end());
        const double ms = median(times[p]);
        std::printf("%-14s %8.1f %8.1f %8.1f %9.1f", programs[p].first.c_str(), *lo, ms, *hi,
                    median(peaks[p]) / 1024.0);
        for (size_t b : bases)
            std::printf("  %13.2fx", ms / median(times[b]));
        std::printf("\n");
    }
    std::printf(
        "(%d interleaved runs each, launch to first painted window; ratios of the medians)\n",
        runs);
    return 0;
}
