// The whole program with large documents, in its shown window, each figure a ratio against a
// yardstick measured in the same run: start-up against the minimal Qt window
// (bench_minimal_window), reopening over a loaded document against opening from empty, typing
// and idling in a 20 MB document against an empty one, Transliterate and Change Case against
// opening the same text, a 50 MB line without a break against 50 MB of short lines, dense RTF
// against plain text of the same characters. The program runs its test script: "stamp" lines
// give the time, processor time and memory at each step; the steady idle figures are read from
// outside the program, left alone without a script. Runs in the current display, else offscreen.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr auto kTimeLimit = std::chrono::minutes(10);  // a run still going then counts as failed

// A folder for the generated files and the programs' settings, removed at the end.
struct Folder {
  fs::path dir;
  Folder() {
    std::string pattern = (fs::temp_directory_path() / "qm-bench-program-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    dir = pattern;
  }
  ~Folder() {
    std::error_code error;
    fs::remove_all(dir, error);
  }
};

Folder& Work() {
  static Folder folder;
  return folder;
}

std::string WorkPath(const std::string& name) { return (Work().dir / name).string(); }

// One step of a run: milliseconds since an arbitrary start, processor milliseconds, peak and
// current resident kilobytes.
struct Stamp {
  double wall = 0, cpu = 0, peakKb = 0, rssKb = 0;
};

struct Run {
  bool finished = false;
  double wallMs = 0, peakKb = 0;  // the whole run: wall time and peak resident size
  std::map<std::string, Stamp> stamps;
  double Between(const std::string& a, const std::string& b) const { return stamps.at(b).wall - stamps.at(a).wall; }
  double CpuBetween(const std::string& a, const std::string& b) const { return stamps.at(b).cpu - stamps.at(a).cpu; }
};

// A fresh folder for a run's settings.
fs::path NewHome() {
  static int counter = 0;
  return Work().dir / ("run" + std::to_string(counter++));
}

// Runs `program` with `args` (and the script `lines`, when given) with its settings in `home`;
// `meanwhile`, when given, gets the running program's process id (and may end it).
Run Start(const std::string& program, const std::vector<std::string>& args, const std::vector<std::string>& lines,
          const fs::path& home = NewHome(), const std::function<void(pid_t)>& meanwhile = {}) {
  for (const char* sub : {"config", "run", "xdg", "data", "cache"}) fs::create_directories(home / sub);
  fs::permissions(home / "run", fs::perms::owner_all, fs::perm_options::replace);
  const std::string stampFile = (home / "stamps").string();
  std::map<std::string, std::string> vars;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    const size_t eq = entry.find('=');
    if (eq != std::string::npos) vars[entry.substr(0, eq)] = entry.substr(eq + 1);
  }
  vars["QUILLOMARK_CONFIG_DIR"] = (home / "config").string();
  vars["XDG_RUNTIME_DIR"] = (home / "run").string();
  vars["XDG_CONFIG_HOME"] = (home / "xdg").string();
  vars["XDG_DATA_HOME"] = (home / "data").string();
  vars["XDG_CACHE_HOME"] = (home / "cache").string();
  if (!vars.count("DISPLAY")) vars["QT_QPA_PLATFORM"] = "offscreen";
  vars.erase("QUILLOMARK_TEST_SCRIPT");
  if (!lines.empty()) {
    std::ofstream script(home / "script");
    for (std::string line : lines) {
      for (size_t at; (at = line.find("$STAMPS")) != std::string::npos;) line.replace(at, 7, stampFile);
      script << line << '\n';
    }
    vars["QUILLOMARK_TEST_SCRIPT"] = (home / "script").string();
  }
  std::vector<std::string> envStrings, argv{program};
  for (const auto& [name, value] : vars) envStrings.push_back(name + "=" + value);
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> argp, envp;
  for (auto& a : argv) argp.push_back(a.data());
  argp.push_back(nullptr);
  for (auto& e : envStrings) envp.push_back(e.data());
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 2, (home / "stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  Run run;
  pid_t pid = -1;
  const auto begin = std::chrono::steady_clock::now();
  if (::posix_spawn(&pid, program.c_str(), &actions, nullptr, argp.data(), envp.data()) != 0) return run;
  posix_spawn_file_actions_destroy(&actions);
  if (meanwhile) meanwhile(pid);
  int status = 0;
  rusage usage{};
  for (;;) {
    if (::wait4(pid, &status, WNOHANG, &usage) == pid) {
      run.finished = true;
      break;
    }
    if (std::chrono::steady_clock::now() - begin > kTimeLimit) {
      ::kill(pid, SIGKILL);
      ::wait4(pid, &status, 0, &usage);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  run.wallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
  run.peakKb = double(usage.ru_maxrss);
  std::ifstream stamps(stampFile);
  std::string label;
  Stamp s;
  while (stamps >> label >> s.wall >> s.cpu >> s.peakKb >> s.rssKb) run.stamps[label] = s;
  return run;
}

std::string ProgramDir() { return QM_PROGRAM_DIR; }

// The program with a script; the questions a closing with changes asks are answered No.
Run Program(const std::vector<std::string>& lines) {
  std::vector<std::string> script{"answer messagedlg 7", "answer messagebox 7"};
  script.insert(script.end(), lines.begin(), lines.end());
  script.push_back("close");
  return Start(ProgramDir() + "/quillomark", {}, script);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

// Russian prose lines with the exception list's words among them, `bytes` of UTF-8 (LF ends)
// or one line without a break.
std::string Prose(size_t bytes, bool oneLine) {
  static const char* const sentences[] = {
      "Съешь же ещё этих мягких французских булок, да выпей чаю.",
      "В Москве и Санкт-Петербурге шёл дождь, а в Сибири уже лежал снег.",
      "Широкая электрификация южных губерний даст мощный толчок подъёму сельского хозяйства.",
      "Россия и Украина соседи; Ельцин и Горбачёв спорили о Хрущёве.",
      "Эх, чужак, общий съём цен шляп (юфть) вдрызг!",
      "Он открыл окно, и в комнату ворвался холодный ветер с реки.",
  };
  std::string text;
  text.reserve(bytes + 200);
  for (size_t i = 0; text.size() < bytes; ++i) {
    text += sentences[i % 6];
    text += oneLine || i % 3 != 2 ? ' ' : '\n';
  }
  return text;
}

// A file of the work folder made once.
const std::string& File(const std::string& name, const std::function<std::string()>& make) {
  static std::map<std::string, std::string> made;
  auto it = made.find(name);
  if (it == made.end()) {
    const std::string path = WorkPath(name);
    std::ofstream(path, std::ios::binary) << make();
    it = made.emplace(name, path).first;
  }
  return it->second;
}

const std::string& ProseFile(size_t mb) {
  return File("prose" + std::to_string(mb) + ".txt", [mb] { return Prose(mb << 20, false); });
}

// Marks that a run did not finish in time.
bool Check(benchmark::State& state, const Run& run, const std::vector<std::string>& labels) {
  for (const std::string& label : labels) {
    if (!run.stamps.count(label)) {
      state.SkipWithError(("no stamp " + label + (run.finished ? "" : " (stopped after the time limit)")).c_str());
      return false;
    }
  }
  return true;
}

void BM_StartUp(benchmark::State& state) {
  const std::string minimal = QM_MINIMAL_WINDOW;
  std::vector<double> programMs, minimalMs, programKb, minimalKb;
  // The first start writes the settings' defaults; the ones measured find them, as a user's do.
  const fs::path home = NewHome();
  Start(ProgramDir() + "/quillomark", {}, {"close"}, home);
  Start(minimal, {}, {});
  for (auto _ : state) {
    // Alternately, each going first in turn, so that both meet the same machine; the medians of
    // eleven starts each stay put where five swung by a tenth.
    for (int i = 0; i < 11; ++i) {
      Run base, run;
      if (i % 2) base = Start(minimal, {}, {});
      run = Start(ProgramDir() + "/quillomark", {}, {"close"}, home);
      if (i % 2 == 0) base = Start(minimal, {}, {});
      if (!base.finished || !run.finished) {
        state.SkipWithError("a start-up did not end");
        return;
      }
      minimalMs.push_back(base.wallMs);
      minimalKb.push_back(base.peakKb);
      programMs.push_back(run.wallMs);
      programKb.push_back(run.peakKb);
    }
  }
  state.counters["program_ms"] = Median(programMs);
  state.counters["minimal_ms"] = Median(minimalMs);
  state.counters["program_MB"] = Median(programKb) / 1024;
  state.counters["minimal_MB"] = Median(minimalKb) / 1024;
  state.counters["ratio_time"] = Median(programMs) / Median(minimalMs);
  state.counters["ratio_memory"] = Median(programKb) / Median(minimalKb);
}
BENCHMARK(BM_StartUp)->Iterations(1)->Unit(benchmark::kMillisecond);

// Opening a 20 MB document over another one, against opening it into the empty editor.
void BM_ReopenOverLoaded(benchmark::State& state) {
  const std::string a = ProseFile(20), b = File("prose20b.txt", [] { return Prose(20u << 20, false) + "конец\n"; });
  for (auto _ : state) {
    const Run run = Program({"stamp $STAMPS start", "open " + a, "stamp $STAMPS first", "open " + b,
                             "stamp $STAMPS second"});
    if (!Check(state, run, {"start", "first", "second"})) return;
    state.counters["open_empty_ms"] = run.Between("start", "first");
    state.counters["open_over_loaded_ms"] = run.Between("first", "second");
    state.counters["ratio"] = run.Between("first", "second") / run.Between("start", "first");
  }
}
BENCHMARK(BM_ReopenOverLoaded)->Iterations(1)->Unit(benchmark::kMillisecond);

// A keystroke (typed, handled and painted) and a second of idling in a 20 MB document, against
// the same in the empty one.
void BM_TypingAndIdle(benchmark::State& state) {
  const std::string file = ProseFile(20);
  const std::string keys = "abcdefghijklmnopqrst";
  for (auto _ : state) {
    const Run run = Program({"idle 500", "stamp $STAMPS e0", "type " + keys, "stamp $STAMPS e1", "idle 2000",
                             "stamp $STAMPS e2", "open " + file, "idle 500", "stamp $STAMPS l0",
                             "type " + keys, "stamp $STAMPS l1", "idle 2000", "stamp $STAMPS l2"});
    if (!Check(state, run, {"e0", "e1", "e2", "l0", "l1", "l2"})) return;
    const double n = double(keys.size());
    const double emptyKey = run.Between("e0", "e1") / n, largeKey = run.Between("l0", "l1") / n;
    const double emptyIdle = run.CpuBetween("e1", "e2") / run.Between("e1", "e2");
    const double largeIdle = run.CpuBetween("l1", "l2") / run.Between("l1", "l2");
    state.counters["key_empty_ms"] = emptyKey;
    state.counters["key_20MB_ms"] = largeKey;
    state.counters["ratio_key"] = largeKey / emptyKey;
    state.counters["idle_cpu_empty_pct"] = 100 * emptyIdle;
    state.counters["idle_cpu_20MB_pct"] = 100 * largeIdle;
  }
}
BENCHMARK(BM_TypingAndIdle)->Iterations(1)->Unit(benchmark::kMillisecond);

// The processor time of each thread of process `pid` so far, in nanoseconds by thread id (the
// scheduler's own count, not the clock ticks of /proc/PID/stat).
std::map<std::string, double> ThreadCpuNs(pid_t pid) {
  std::map<std::string, double> ns;
  std::error_code error;
  for (const auto& task : fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
    double onCpu = 0;
    if (std::ifstream(task.path() / "schedstat") >> onCpu) ns[task.path().filename().string()] = onCpu;
  }
  return ns;
}

// The processor milliseconds the threads of `after` used since `before` (a thread that ended
// in between, such as an idle pool thread, takes its time with it).
double CpuMsBetween(const std::map<std::string, double>& before, const std::map<std::string, double>& after) {
  double ns = 0;
  for (const auto& [thread, onCpu] : after) {
    const auto was = before.find(thread);
    ns += onCpu - (was == before.end() ? 0 : was->second);
  }
  return ns / 1e6;
}

// Whether process `pid` (a child not reaped yet) still runs.
bool Running(pid_t pid) {
  std::string stat;
  std::getline(std::ifstream("/proc/" + std::to_string(pid) + "/stat"), stat);
  const size_t end = stat.rfind(") ");
  return end != std::string::npos && end + 2 < stat.size() && stat[end + 2] != 'Z';
}

// The program left alone in its shown window, empty and with a 20 MB document (both at once,
// each its own process): its share of a processor over 20 s after 25 s, measured from outside,
// so that no script step wakes it.
void BM_SteadyIdle(benchmark::State& state) {
  const std::vector<std::string> args[2] = {{}, {ProseFile(20)}};
  for (auto _ : state) {
    double pct[2] = {-1, -1};
    const fs::path homes[2] = {NewHome(), NewHome()};
    const auto idle = [&](int which) {
      Start(ProgramDir() + "/quillomark", args[which], {}, homes[which], [&pct, which](pid_t pid) {
        std::this_thread::sleep_for(std::chrono::seconds(25));
        const auto before = ThreadCpuNs(pid);
        const auto begin = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(20));
        const double used = CpuMsBetween(before, ThreadCpuNs(pid));
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
        if (Running(pid)) pct[which] = 100 * used / ms;
        ::kill(pid, SIGTERM);
      });
    };
    std::thread empty(idle, 0);
    idle(1);
    empty.join();
    if (pct[0] < 0 || pct[1] < 0) {
      state.SkipWithError("the program ended before the measure");
      return;
    }
    state.counters["steady_idle_cpu_empty_pct"] = pct[0];
    state.counters["steady_idle_cpu_20MB_pct"] = pct[1];
  }
}
BENCHMARK(BM_SteadyIdle)->Iterations(1)->Unit(benchmark::kMillisecond);

// Keys typed at the start and at the end of a 10 MB line without a break, moves along it, and a
// second of idling, against typing and idling in the empty document.
void BM_TypingInALongLine(benchmark::State& state) {
  const std::string file = File("line10.txt", [] { return Prose(10u << 20, true); });
  const std::string keys = "abcdefghij";
  for (auto _ : state) {
    const Run run = Program({"idle 500", "stamp $STAMPS e0", "type " + keys, "stamp $STAMPS e1", "idle 2000",
                             "stamp $STAMPS e2", "open " + file, "idle 500", "stamp $STAMPS l0", "type " + keys,
                             "key Ctrl+End", "type " + keys, "stamp $STAMPS l1", "key Ctrl+Home", "key Down",
                             "key Down", "key End", "key Up", "key Home", "stamp $STAMPS l2", "idle 2000",
                             "stamp $STAMPS l3"});
    if (!Check(state, run, {"e0", "e1", "e2", "l0", "l1", "l2", "l3"})) return;
    const double n = double(keys.size());
    const double emptyKey = run.Between("e0", "e1") / n, lineKey = run.Between("l0", "l1") / (2 * n);
    state.counters["key_empty_ms"] = emptyKey;
    state.counters["key_line_ms"] = lineKey;
    state.counters["ratio_key"] = lineKey / emptyKey;
    state.counters["move_line_ms"] = run.Between("l1", "l2") / 6;
    state.counters["idle_cpu_empty_pct"] = 100 * run.CpuBetween("e1", "e2") / run.Between("e1", "e2");
    state.counters["idle_cpu_line_pct"] = 100 * run.CpuBetween("l2", "l3") / run.Between("l2", "l3");
  }
}
BENCHMARK(BM_TypingInALongLine)->Iterations(1)->Unit(benchmark::kMillisecond);

// An operation over the whole text (the menu items named) against opening that text.
void Operation(benchmark::State& state, const std::vector<std::string>& clicks) {
  const std::string file = ProseFile(size_t(state.range(0)));
  for (auto _ : state) {
    std::vector<std::string> lines{"stamp $STAMPS start", "open " + file, "stamp $STAMPS opened"};
    for (const std::string& click : clicks) lines.push_back("click " + click);
    lines.push_back("stamp $STAMPS done");
    const Run run = Program(lines);
    if (!Check(state, run, {"start", "opened", "done"})) return;
    state.counters["open_ms"] = run.Between("start", "opened");
    state.counters["operation_ms"] = run.Between("opened", "done");
    state.counters["ratio"] = run.Between("opened", "done") / run.Between("start", "opened");
  }
}

void BM_Transliterate(benchmark::State& state) { Operation(state, {"Transliterate1"}); }
BENCHMARK(BM_Transliterate)->Arg(1)->Arg(10)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_ChangeCase(benchmark::State& state) { Operation(state, {"SelectAll1", "CaseUpper"}); }
BENCHMARK(BM_ChangeCase)->Arg(1)->Arg(10)->Iterations(1)->Unit(benchmark::kMillisecond);

// Opening a file of the program and letting its window show it; time and memory growth, and
// the processor's share while the window then idles for two seconds.
struct Opened {
  double ms = 0, growthMB = 0, idlePct = 0;
};
bool OpenAndShow(benchmark::State& state, const std::string& file, Opened& out) {
  const Run run = Program({"stamp $STAMPS start", "open " + file, "idle 300", "stamp $STAMPS shown", "idle 2000",
                           "stamp $STAMPS idled"});
  if (!Check(state, run, {"start", "shown", "idled"})) return false;
  out.ms = run.Between("start", "shown");
  out.growthMB = (run.stamps.at("shown").peakKb - run.stamps.at("start").rssKb) / 1024;
  out.idlePct = 100 * run.CpuBetween("shown", "idled") / run.Between("shown", "idled");
  return true;
}

// Opens `Base` and then `Other` in a shown window and reports each one's time, memory growth and
// idle CPU under its name, with the ratios of `Other` to `Base`.
void CompareOpens(benchmark::State& state, const std::string& Base, const char* BaseName, const std::string& Other,
                  const char* OtherName) {
  const std::string base(BaseName), other(OtherName);
  for (auto _ : state) {
    Opened a, b;
    if (!OpenAndShow(state, Base, a) || !OpenAndShow(state, Other, b)) return;
    state.counters[base + "_ms"] = a.ms;
    state.counters[other + "_ms"] = b.ms;
    state.counters[base + "_MB"] = a.growthMB;
    state.counters[other + "_MB"] = b.growthMB;
    state.counters[base + "_idle_cpu_pct"] = a.idlePct;
    state.counters[other + "_idle_cpu_pct"] = b.idlePct;
    state.counters["ratio_time"] = b.ms / a.ms;
    state.counters["ratio_memory"] = b.growthMB / a.growthMB;
  }
}

// 50 MB without a line break against 50 MB of short lines.
void BM_SingleLine50MB(benchmark::State& state) {
  const std::string lines = File("lines50.txt", [] { return Prose(50u << 20, false); });
  const std::string line = File("line50.txt", [] { return Prose(50u << 20, true); });
  CompareOpens(state, lines, "lines", line, "one_line");
}
BENCHMARK(BM_SingleLine50MB)->Iterations(1)->Unit(benchmark::kMillisecond);

// RTF with a bold and a coloured run in every line against the same characters as plain text.
void BM_DenseRtf(benchmark::State& state) {
  constexpr size_t kLines = 60000;
  const std::string plain = File("dense.txt", [] {
    std::string text;
    for (size_t i = 0; i < kLines; ++i) text += "Line " + std::to_string(i) + " holds bold and red words here.\n";
    return text;
  });
  const std::string rtf = File("dense.rtf", [] {
    std::string text = "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}"
                       "{\\colortbl;\\red255\\green0\\blue0;}\\f0\\fs20 ";
    for (size_t i = 0; i < kLines; ++i)
      text += "Line " + std::to_string(i) + " holds {\\b bold} and {\\cf1 red} words here.\\par\n";
    return text + "}";
  });
  CompareOpens(state, plain, "plain", rtf, "rtf");
}
BENCHMARK(BM_DenseRtf)->Iterations(1)->Unit(benchmark::kMillisecond);

// --- Whole-text commands at two sizes -----------------------------------------------------------
// Each command runs over 1 MB and over 4 MB of prose in the shown window; "ratio" is the time at
// 4 MB over the time at 1 MB: near 4 for a command linear in the document, 16 for a quadratic
// one. The `prepare` steps run untimed after the open, the `timed` ones between two stamps; a
// step's "$OUT" names a file of the work folder. Windows the steps use are answered by their own
// "answer" and "in-window" lines.
using FileOfSize = std::function<const std::string&(size_t mb)>;

double TimedSteps(benchmark::State& state, const std::string& file, size_t mb, const std::vector<std::string>& prepare,
                  const std::vector<std::string>& timed) {
  const std::string out = WorkPath("out" + std::to_string(mb));
  const auto expand = [&](std::string line) {
    for (size_t at; (at = line.find("$OUT")) != std::string::npos;) line.replace(at, 4, out);
    return line;
  };
  std::vector<std::string> lines{"open " + file};
  for (const std::string& step : prepare) lines.push_back(expand(step));
  lines.push_back("stamp $STAMPS before");
  for (const std::string& step : timed) lines.push_back(expand(step));
  lines.push_back("stamp $STAMPS after");
  // The question of the closing with changes is answered No (queued last: answers are taken in
  // their order, and the steps' own come first).
  lines.insert(lines.end(), {"answer messagedlg 7", "close"});
  const Run run = Start(ProgramDir() + "/quillomark", {}, lines);
  if (!Check(state, run, {"before", "after"})) return -1;
  return run.Between("before", "after");
}

void Scaled(benchmark::State& state, const std::vector<std::string>& prepare, const std::vector<std::string>& timed,
            const FileOfSize& file = ProseFile) {
  for (auto _ : state) {
    const double small = TimedSteps(state, file(1), 1, prepare, timed);
    if (small < 0) return;
    const double large = TimedSteps(state, file(4), 4, prepare, timed);
    if (large < 0) return;
    state.counters["1MB_ms"] = small;
    state.counters["4MB_ms"] = large;
    state.counters["ratio"] = large / small;
  }
}

#define QM_SCALED(NAME, PREPARE, ...)                                                  \
  void BM_##NAME(benchmark::State& state) { Scaled(state, PREPARE, {__VA_ARGS__}); } \
  BENCHMARK(BM_##NAME)->Iterations(1)->Unit(benchmark::kMillisecond)

using Steps = std::vector<std::string>;

// Search: a word of every sixth sentence replaced everywhere (the count is confirmed).
QM_SCALED(ReplaceAll, Steps{}, "click Replace1", "type-in FindForm.EditFind ветер", "type-in FindForm.EditReplace вихрь",
          "answer messagedlg 1", "click FindForm.BtnAll");
// Tools: lists and sorting (sort lines, also removing duplicates), reformat, mixed
// characters, the language check, the clean-up of scanned text, the spelling check.
QM_SCALED(SortLines, Steps{}, "in-window SortForm 1", "click ListOperations1");
QM_SCALED(SortRemovingDuplicates, Steps{}, "in-window SortForm 1 click:CBDup", "click ListOperations1");
QM_SCALED(Reformat, Steps{}, "in-window ReformatForm 1", "click Reformat1");
// The marks of these two are formats of their own only in the formatted view.
QM_SCALED(MixedCharacters, Steps{"click ViewFormatted"}, "in-window MixedCharForm 1", "click FixMixedCharacters1");
QM_SCALED(VerifyLanguage, Steps{"click ViewFormatted"}, "in-window AutoLangForm 1 click:CBEng click:CBRus",
          "click AutosetLanguage1");
QM_SCALED(OcrCleanup, Steps{}, "answer form 1", "click Kestrivancorrection1");
QM_SCALED(DeTransliterateAutomatic, Steps{}, "answer form 1 click:BtnAuto", "click TranslittoWin12511");
QM_SCALED(SpellCheckAutomatic, Steps{}, "in-window SCStart 1 Down click:BtnStart", "answer messagedlg 1",
          "click CheckStart");
// Convert: markup and colour, encodings, the locale converter, the universal decoder, the
// keyboard layout of the selection.
QM_SCALED(HtmlToText, Steps{}, "click RemoveHTML1");
QM_SCALED(RemoveFormatting, Steps{"click ViewFormatted"}, "click SelectAll1", "click ConvertToPlainText1");
QM_SCALED(RemoveColour, Steps{}, "click RemoveColor1");
QM_SCALED(To1251FromKoi8, Steps{}, "click KOI8toWin12511");
QM_SCALED(ToKoi8From1251, Steps{}, "click Win1251toKOI1");
// The Cyrillic decoder's search over text made KOI-8 first (untimed); its first reading is
// taken and the report confirmed.
QM_SCALED(CyrillicDecoder, Steps{"click Win1251toKOI1"}, "in-window CyrForm 1", "in-window AutoForm 6",
          "answer messagedlg 1", "click AutoDecodeCyrillic1");
QM_SCALED(LocaleConverter, Steps{}, "in-window UnicodeForm 1", "click ConvUNICODE1");
// The prose with every byte above 127 of its UTF-8 written as "=XX", the decoder's first preset
// (from half as much prose: about 1.4 times the size named).
const std::string& HexCodedProseFile(size_t mb) {
  return File("coded" + std::to_string(mb) + ".txt", [mb] {
    std::string coded;
    static const char digits[] = "0123456789ABCDEF";
    for (const unsigned char c : Prose((mb << 20) / 2, false)) {
      if (c < 128) {
        coded += char(c);
      } else {
        coded += '=';
        coded += digits[c >> 4];
        coded += digits[c & 15];
      }
    }
    return coded;
  });
}
void BM_UniversalDecoder(benchmark::State& state) {
  Scaled(state, {}, {"in-window MailForm 1", "click DecodeDelimited1"}, HexCodedProseFile);
}
BENCHMARK(BM_UniversalDecoder)->Iterations(1)->Unit(benchmark::kMillisecond);
QM_SCALED(KeyboardLayout, Steps{"click SelectAll1"}, "click SwitchKeyboardLayout1");
// Edit: undo and redo of a whole-text change, the whole text cut and pasted back.
QM_SCALED(UndoWholeText, (Steps{"click SelectAll1", "click CaseUpper"}), "click EditUndoItem");
QM_SCALED(RedoWholeText, (Steps{"click SelectAll1", "click CaseUpper", "click EditUndoItem"}), "click Redo1");
QM_SCALED(CutAndPasteAll, Steps{}, "click SelectAll1", "click EditCutItem", "click EditPasteItem");
// The same prose as one paragraph: every change falls in the one long paragraph.
const std::string& OneLineProseFile(size_t mb) {
  return File("oneline" + std::to_string(mb) + ".txt", [mb] { return Prose(mb << 20, true); });
}
void BM_ReplaceAllInOneLine(benchmark::State& state) {
  Scaled(state, {},
         {"click Replace1", "type-in FindForm.EditFind ветер", "type-in FindForm.EditReplace вихрь", "answer messagedlg 1",
          "click FindForm.BtnAll"},
         OneLineProseFile);
}
BENCHMARK(BM_ReplaceAllInOneLine)->Iterations(1)->Unit(benchmark::kMillisecond);
void BM_TransliterateOneLine(benchmark::State& state) { Scaled(state, {}, {"click Transliterate1"}, OneLineProseFile); }
BENCHMARK(BM_TransliterateOneLine)->Iterations(1)->Unit(benchmark::kMillisecond);
void BM_OcrCleanupOneLine(benchmark::State& state) {
  Scaled(state, {}, {"answer form 1", "click Kestrivancorrection1"}, OneLineProseFile);
}
BENCHMARK(BM_OcrCleanupOneLine)->Iterations(1)->Unit(benchmark::kMillisecond);

// File: Save As rich text and as plain text (UTF-8).
QM_SCALED(SaveAsRtf, Steps{}, "answer savefile 8 $OUT.rtf", "click FileSaveAsCmd");
QM_SCALED(SaveAsText, Steps{}, "answer savefile 1 $OUT.txt", "click FileSaveAsCmd");

}  // namespace
