// How fast a pick request shows its window, and how long one full repaint
// of the main widget takes, over the demo collections and over a synthetic
// collection of 100,000 chips.
//
// Targets: the add-on window painted for the first time under 250 ms after
// the host's PluginMain call in a fresh process (cold) and under 120 ms on
// the second call of the same process (warm); one full repaint of the main
// widget under 8 ms.
//
// The bench plays the host: it loads the module with the platform's loader,
// as the stand-in host does, and calls PluginMain with a pick block (linking
// the module's libraries instead would give the process a second copy of
// their module-wide values). A start-up routine of the toolkit, which runs
// in the application object the module creates, watches for the window's
// first paint. Cold and warm figures need fresh processes, since the module
// keeps its collection registry for the life of the process: the bench runs
// itself once per sample with --sample. Wall-clock and processor time are
// both printed; the processor time is what other busy processes on a shared
// machine do not inflate.
//
// The floor: a bare toolkit application showing one painted 800 x 600
// widget (application object, widget, first paint, teardown), measured in
// fresh processes of the same run, twice per process like the module, so
// every run prints what the toolkit alone costs next to the pick. The same
// widget drawing one line of text shows, for reference, what the toolkit's
// font set-up adds to every application object that shows text.

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <dlfcn.h>
#include <unistd.h>

#ifdef HUELINK_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#ifndef HUELINK_PICKER_MODULE
#define HUELINK_PICKER_MODULE "huelink_picker.so"
#endif
#ifndef HUELINK_COLLECTION_TOOL
#define HUELINK_COLLECTION_TOOL "huelink-collection"
#endif
#ifndef HUELINK_BUILD_DIR
#define HUELINK_BUILD_DIR "."
#endif

namespace {

constexpr int kDefaultSamples = 5;
constexpr int kRepaintRuns = 15;
constexpr int kSyntheticChips = 100000;

// The picker parameter block: source colour space at 184, components at 188.
constexpr std::size_t kPickBlockSize = 256;
constexpr std::size_t kPickSourceSpace = 184;
constexpr std::size_t kPickResultSpace = 186;
constexpr std::size_t kPickComponents = 188;

using EntryPoint = void (*)(std::int16_t selector, void *parameterBlock, std::intptr_t *data, std::int16_t *result);

double wallMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
}

double cpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// --- One sample: a fresh process making two pick requests ----------------

struct CallFigures
{
    double paintedWall = -1; // PluginMain call to the window painted
    double paintedCpu = -1;
    double grabWall = -1; // median over kRepaintRuns
    double grabCpu = -1;
    double repaintWall = -1;
    double repaintCpu = -1;
};

struct Probe
{
    double callWall = 0;
    double callCpu = 0;
    bool seenPaint = false;
    CallFigures figures;
};

Probe &probe()
{
    static Probe instance;
    return instance;
}

bool isAddOnWindow(const QWidget *widget)
{
    return widget && widget->inherits("AddOnMainWindow");
}

QWidget *findMainWidget(QWidget *window)
{
    for (QWidget *child : window->findChildren<QWidget *>()) {
        if (child->inherits("Tintor::MainWidget"))
            return child;
    }
    return nullptr;
}

template <typename Work>
void timeRuns(Work work, double &wall, double &cpu)
{
    work(); // caches warm
    std::vector<double> walls;
    std::vector<double> cpus;
    for (int i = 0; i < kRepaintRuns; ++i) {
        const double wallStart = wallMs();
        const double cpuStart = cpuMs();
        work();
        cpus.push_back(cpuMs() - cpuStart);
        walls.push_back(wallMs() - wallStart);
    }
    wall = median(walls);
    cpu = median(cpus);
}

// Runs once the whole window has been painted for the first time.
void measureAndClose(QPointer<QWidget> window)
{
    Probe &state = probe();
    state.figures.paintedWall = wallMs() - state.callWall;
    state.figures.paintedCpu = cpuMs() - state.callCpu;
    if (!window)
        return;
    // The window's nearest-colour step would start while the repaints are
    // timed and might ask in a dialog; it is not part of these figures.
    for (QTimer *timer : window->findChildren<QTimer *>(Qt::FindDirectChildrenOnly))
        timer->stop();
    if (QWidget *mainWidget = findMainWidget(window)) {
        timeRuns([mainWidget] { mainWidget->grab(); }, state.figures.grabWall, state.figures.grabCpu);
        timeRuns([mainWidget] { mainWidget->repaint(); }, state.figures.repaintWall, state.figures.repaintCpu);
    }
    window->close();
}

class PaintWatcher : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Paint || !watched->isWidgetType() || probe().seenPaint)
            return false;
        QWidget *window = static_cast<QWidget *>(watched)->window();
        if (!isAddOnWindow(window))
            return false;
        probe().seenPaint = true;
        // A window paints all its widgets in one pass; the queued call runs
        // once that pass (and the flush) is over.
        QPointer<QWidget> guard(window);
        QTimer::singleShot(0, QCoreApplication::instance(), [guard] { measureAndClose(guard); });
        return false;
    }
};

void startPaintWatcher()
{
    QCoreApplication::instance()->installEventFilter(new PaintWatcher(QCoreApplication::instance()));
}

int runSample(const std::array<std::uint16_t, 3> &rgb16)
{
    const double loadStart = wallMs();
    void *handle = dlopen(HUELINK_PICKER_MODULE, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        std::fprintf(stderr, "PickBench: %s\n", dlerror());
        return 1;
    }
    auto entry = reinterpret_cast<EntryPoint>(dlsym(handle, "PluginMain"));
    if (!entry) {
        std::fprintf(stderr, "PickBench: the module has no PluginMain\n");
        return 1;
    }
    const double loadMs = wallMs() - loadStart;
    qAddPreRoutine(startPaintWatcher);

    std::intptr_t pluginData = 0;
    std::vector<CallFigures> calls;
    for (int call = 0; call < 2; ++call) {
        // No suites, no property procedures, no prompt: the module needs none.
        alignas(8) unsigned char block[kPickBlockSize] = {};
        const std::int16_t rgbSpace = 0;
        std::memcpy(block + kPickSourceSpace, &rgbSpace, sizeof rgbSpace);
        std::memcpy(block + kPickResultSpace, &rgbSpace, sizeof rgbSpace);
        for (std::size_t i = 0; i < 3; ++i)
            std::memcpy(block + kPickComponents + 2 * i, &rgb16[i], sizeof rgb16[i]);
        std::int16_t status = -1;
        probe() = Probe();
        probe().callWall = wallMs();
        probe().callCpu = cpuMs();
        entry(1, block, &pluginData, &status);
        calls.push_back(probe().figures);
    }
    // One line: load, then per call painted wall/cpu, grab wall/cpu, repaint wall/cpu.
    std::printf("%.3f", loadMs);
    for (const CallFigures &figures : calls)
        std::printf(" %.3f %.3f %.3f %.3f %.3f %.3f", figures.paintedWall, figures.paintedCpu, figures.grabWall,
                    figures.grabCpu, figures.repaintWall, figures.repaintCpu);
    std::printf("\n");
    std::fflush(stdout);
    return 0;
}

// --- The floor: a bare application with one painted widget -------------

class FloorWidget : public QWidget
{
public:
    explicit FloorWidget(bool withText)
        : m_withText(withText)
    {
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(200, 120, 80));
        // What the toolkit's font set-up costs a window with any text.
        if (m_withText)
            painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("Colour for living"));
        if (probe().seenPaint)
            return;
        probe().seenPaint = true;
        QTimer::singleShot(0, this, [this] {
            probe().figures.paintedWall = wallMs() - probe().callWall;
            probe().figures.paintedCpu = cpuMs() - probe().callCpu;
            close();
        });
    }

private:
    bool m_withText = false;
};

// One line: per call painted wall and processor time.
int runFloorSample(int argc, char *argv[], bool withText, bool keepFonts = false)
{
#ifdef HUELINK_FONTCONFIG
    // As the module does: the configuration outlives the application objects.
    if (keepFonts)
        FcConfigReference(nullptr);
#else
    Q_UNUSED(keepFonts);
#endif
    std::vector<CallFigures> calls;
    for (int call = 0; call < 2; ++call) {
        probe() = Probe();
        probe().callWall = wallMs();
        probe().callCpu = cpuMs();
        {
            QApplication application(argc, argv);
            FloorWidget widget(withText);
            widget.resize(800, 600);
            widget.show();
            application.exec();
        }
        calls.push_back(probe().figures);
    }
    for (const CallFigures &figures : calls)
        std::printf("%.3f %.3f ", figures.paintedWall, figures.paintedCpu);
    std::printf("\n");
    std::fflush(stdout);
    return 0;
}

// --- The driver: samples in fresh processes, per collection set ----------

std::string makeTemporaryFolder()
{
    char pattern[] = "/tmp/huelink-pickbench-XXXXXX";
    const char *folder = mkdtemp(pattern);
    return folder ? std::string(folder) : std::string();
}

std::string shellQuoted(const std::string &text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Runs this program with --sample in a fresh environment; the sample's
// figures, or empty on failure.
std::vector<double> sampleInChild(const std::string &self, const std::string &programData, const std::string &scratch,
                                  int index, const char *mode = "--sample")
{
    const std::string home = scratch + "/home-" + std::to_string(index);
    const std::string command = "mkdir -p " + shellQuoted(home + "/config") + " " + shellQuoted(home + "/data")
                              + " " + shellQuoted(home + "/runtime") + " && chmod 700 " + shellQuoted(home + "/runtime")
                              + " && env PROGRAMDATA=" + shellQuoted(programData) + " HOME=" + shellQuoted(home)
                              + " XDG_CONFIG_HOME=" + shellQuoted(home + "/config")
                              + " XDG_DATA_HOME=" + shellQuoted(home + "/data")
                              + " XDG_RUNTIME_DIR=" + shellQuoted(home + "/runtime")
                              + " QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES='*.debug=false' "
                              + shellQuoted(self) + " " + mode + " 2>/dev/null";
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe)
        return {};
    std::string output;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe))
        output += buffer;
    if (pclose(pipe) != 0)
        return {};
    std::istringstream stream(output);
    std::vector<double> values;
    double value = 0;
    while (stream >> value)
        values.push_back(value);
    const bool floor = std::strcmp(mode, "--sample") != 0;
    return values.size() == (floor ? 4u : 13u) ? values : std::vector<double>();
}

// Cpu medians of the floor's first and later call, 0 when it failed.
struct Floor
{
    double first = 0;
    double later = 0;
};

void report(const char *title, const std::vector<std::vector<double>> &samples, const Floor &floor,
            double firstFactor, double laterFactor)
{
    std::printf("\n%s: %zu fresh processes\n", title, samples.size());
    if (samples.empty()) {
        std::printf("  no sample succeeded\n");
        return;
    }
    const auto column = [&samples](std::size_t index) {
        std::vector<double> values;
        for (const auto &sample : samples)
            values.push_back(sample[index]);
        return values;
    };
    const auto line = [&column](const char *label, std::size_t wallIndex, double target) {
        const std::vector<double> walls = column(wallIndex);
        const std::vector<double> cpus = column(wallIndex + 1);
        std::printf("  %-34s median %7.2f ms (min %7.2f)   cpu median %7.2f ms   target %4.0f ms  %s\n", label,
                    median(walls), *std::min_element(walls.begin(), walls.end()), median(cpus), target,
                    median(walls) < target ? "met" : (median(cpus) < target ? "met in cpu time" : "MISSED"));
    };
    std::printf("  %-34s median %7.2f ms\n", "module load (dlopen)", median(column(0)));
    line("first painted window, cold", 1, 250);
    line("first painted window, warm", 7, 120);
    if (floor.first > 0 && floor.later > 0) {
        const double first = median(column(2)) / floor.first;
        const double later = median(column(8)) / floor.later;
        std::printf("  against the floor (cpu)            first call %.1f x (target %.0f x) %s   later call %.1f x "
                    "(target %.0f x) %s\n",
                    first, firstFactor, first <= firstFactor ? "met" : "MISSED", later, laterFactor,
                    later <= laterFactor ? "met" : "MISSED");
    }
    line("main widget grab(), cold call", 3, 8);
    line("main widget repaint(), cold call", 5, 8);
    line("main widget grab(), warm call", 9, 8);
    line("main widget repaint(), warm call", 11, 8);
}

std::string loadAverage()
{
    std::ifstream file("/proc/loadavg");
    std::string one, five, fifteen;
    file >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

} // namespace

int main(int argc, char *argv[])
{
    // The host colour: RGB(200, 120, 80), widened to 16 bits.
    const std::array<std::uint16_t, 3> hostColour{200 * 257, 120 * 257, 80 * 257};
    if (argc > 1 && std::strcmp(argv[1], "--sample") == 0)
        return runSample(hostColour);
    if (argc > 1 && std::strcmp(argv[1], "--floor-sample") == 0)
        return runFloorSample(argc, argv, false);
    if (argc > 1 && std::strcmp(argv[1], "--text-floor-sample") == 0)
        return runFloorSample(argc, argv, true);
    if (argc > 1 && std::strcmp(argv[1], "--kept-text-floor-sample") == 0)
        return runFloorSample(argc, argv, true, true);

    int samples = kDefaultSamples;
    if (argc > 2 && std::strcmp(argv[1], "--samples") == 0)
        samples = std::max(1, std::atoi(argv[2]));
    const std::string self = argv[0];
    const std::string scratch = makeTemporaryFolder();
    if (scratch.empty()) {
        std::fprintf(stderr, "PickBench: cannot make a temporary folder\n");
        return 1;
    }
    std::printf("PickBench: pick requests through PluginMain, offscreen, host colour RGB(200,120,80)\n");
    std::printf("module: %s\nload average before: %s\n", HUELINK_PICKER_MODULE, loadAverage().c_str());

    const std::string demo = std::string(HUELINK_BUILD_DIR) + "/programdata";
    std::vector<std::vector<double>> demoSamples;
    std::vector<double> floorFirst;
    std::vector<double> floorLater;
    std::vector<double> floorFirstWall;
    std::vector<double> floorLaterWall;
    // Not a target's reference: what any window with text pays on top.
    std::vector<double> textFloorFirst;
    std::vector<double> textFloorLater;
    std::vector<double> keptTextFloorLater;
    // Floor and module samples alternate, so both meet the same machine load.
    for (int i = 0; i < samples; ++i) {
        const std::vector<double> floorSample = sampleInChild(self, demo, scratch, 2 * samples + i, "--floor-sample");
        if (!floorSample.empty()) {
            floorFirstWall.push_back(floorSample[0]);
            floorFirst.push_back(floorSample[1]);
            floorLaterWall.push_back(floorSample[2]);
            floorLater.push_back(floorSample[3]);
        }
        const std::vector<double> sample = sampleInChild(self, demo, scratch, i);
        if (!sample.empty())
            demoSamples.push_back(sample);
        const std::vector<double> textSample = sampleInChild(self, demo, scratch, 3 * samples + i, "--text-floor-sample");
        if (!textSample.empty()) {
            textFloorFirst.push_back(textSample[1]);
            textFloorLater.push_back(textSample[3]);
        }
        const std::vector<double> keptSample
            = sampleInChild(self, demo, scratch, 4 * samples + i, "--kept-text-floor-sample");
        if (!keptSample.empty()) {
            keptTextFloorLater.push_back(keptSample[3]);
        }
    }
    const Floor floor{median(floorFirst), median(floorLater)};
    std::printf("\nfloor, a bare application with one painted 800x600 widget: %zu fresh processes\n",
                floorFirst.size());
    std::printf("  %-34s median %7.2f ms   cpu median %7.2f ms\n", "first call", median(floorFirstWall), floor.first);
    std::printf("  %-34s median %7.2f ms   cpu median %7.2f ms\n", "later call", median(floorLaterWall), floor.later);
    std::printf("  %-34s first call cpu median %7.2f ms   later call cpu median %7.2f ms\n",
                "the same with one line of text", median(textFloorFirst), median(textFloorLater));
    // Its first call loads the configuration before the clock starts.
    if (!keptTextFloorLater.empty())
        std::printf("  %-34s later call cpu median %7.2f ms\n", "... font configuration kept",
                    median(keptTextFloorLater));
    report("demo collections", demoSamples, floor, 4, 3);

    const std::string synthetic = scratch + "/programdata";
    const std::string synthFile = synthetic + "/Vestrel/Huelink/SQLite/Contents/Resources/synthetic.db";
    const std::string synthCommand = "mkdir -p " + shellQuoted(synthetic + "/Vestrel/Huelink/SQLite/Contents/Resources")
                                   + " && QT_QPA_PLATFORM=offscreen " + shellQuoted(HUELINK_COLLECTION_TOOL)
                                   + " synth --chips " + std::to_string(kSyntheticChips) + " -o "
                                   + shellQuoted(synthFile) + " >/dev/null";
    if (std::system(synthCommand.c_str()) != 0) {
        std::fprintf(stderr, "PickBench: cannot write the synthetic collection\n");
    } else {
        std::vector<std::vector<double>> synthSamples;
        for (int i = 0; i < samples; ++i) {
            const std::vector<double> sample = sampleInChild(self, synthetic, scratch, samples + i);
            if (!sample.empty())
                synthSamples.push_back(sample);
        }
        report("synthetic collection, 100,000 chips", synthSamples, floor, 5, 4);
    }
    std::printf("\nload average after: %s\n", loadAverage().c_str());
    if (std::system(("rm -rf " + shellQuoted(scratch)).c_str()) != 0)
        std::fprintf(stderr, "could not remove %s\n", scratch.c_str());
    return 0;
}
