// Opening, changing one string in and saving a large DXF drawing: 100,000
// TEXTs and 10,000 block references with three attributes each, spliced
// into an ezdxf-made R2010 file. Also reports the peak memory of one
// open + change + save in a fresh process against the file size, and
// ezdxf's time for the same open and save, measured in the same run.
#include "dxf/drawingfile.h"

#include "cadhost/drawing.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <sys/resource.h>

namespace fs = std::filesystem;

namespace {

constexpr int kTexts = 100000;
constexpr int kInserts = 10000;

fs::path workDir()
{
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / "talvo_dxf_bench";
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

std::string run(const std::string &cmd)
{
    std::string out;
    if (FILE *p = popen(cmd.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0)
            out.append(buf, n);
        if (pclose(p) != 0)
            throw std::runtime_error("failed: " + cmd + "\n" + out);
    }
    return out;
}

std::string hex(unsigned long v)
{
    char buf[20];
    std::snprintf(buf, sizeof buf, "%lX", v);
    return buf;
}

// The big drawing, made once per run.
const fs::path &bigDrawing()
{
    static const fs::path path = [] {
        run(std::string(TALVO_PYTHON) + " " + TALVO_DXF_SCRIPTS + "/make_drawings.py " + workDir().string());
        std::string base = dxf::readFile(workDir() / "r2010_utf8.dxf");
        // Model space's block record owns the new entities, as it owns the first TEXT.
        const std::size_t text = base.find("\nTEXT\n");
        const std::size_t owner = base.find("\n330\n", text) + 5;
        const std::string msp = base.substr(owner, base.find('\n', owner) - owner);
        const std::size_t seedAt = base.find("$HANDSEED\n  5\n") + 14;
        unsigned long handle = std::stoul(base.substr(seedAt, base.find('\n', seedAt) - seedAt), nullptr, 16);

        std::string add;
        add.reserve(std::size_t(kTexts) * 200 + std::size_t(kInserts) * 1200);
        auto entity = [&](const char *type, const std::string &h, const std::string &ownerHandle, const char *layer) {
            add += "  0\n";
            add += type;
            add += "\n  5\n" + h + "\n330\n" + ownerHandle + "\n100\nAcDbEntity\n  8\n" + layer + "\n";
        };
        for (int i = 0; i < kTexts; ++i) {
            entity("TEXT", hex(handle++), msp, "注記");
            add += "100\nAcDbText\n 10\n" + std::to_string(i % 400) + ".5\n 20\n" + std::to_string(i / 400)
                   + ".25\n 30\n0.0\n 40\n2.5\n  1\n文字列 " + std::to_string(i) + " ABC\n100\nAcDbText\n";
        }
        for (int i = 0; i < kInserts; ++i) {
            const std::string ref = hex(handle++);
            const std::string x = std::to_string(i % 100 * 30), y = std::to_string(i / 100 * 12);
            entity("INSERT", ref, msp, "機器");
            add += "100\nAcDbBlockReference\n 66\n     1\n  2\nEQUIP\n 10\n" + x + "\n 20\n" + y + "\n 30\n0.0\n";
            const char *tags[] = {"NAME", "NAME", "TYPE"};
            for (int k = 0; k < 3; ++k) {
                entity("ATTRIB", hex(handle++), ref, "機器");
                add += "100\nAcDbText\n 10\n" + x + "\n 20\n" + y + "\n 30\n0.0\n 40\n2.5\n  1\n機器 "
                       + std::to_string(i) + "-" + std::to_string(k) + "\n100\nAcDbAttribute\n280\n     0\n  2\n"
                       + tags[k] + "\n 70\n     0\n";
            }
            entity("SEQEND", hex(handle++), ref, "機器");
        }
        const std::size_t entitiesEnd = base.find("  0\nENDSEC\n", base.find("\nENTITIES\n"));
        base.insert(entitiesEnd, add);
        const std::size_t seedEnd = base.find('\n', seedAt);
        base.replace(seedAt, seedEnd - seedAt, hex(handle));
        const fs::path p = workDir() / "big.dxf";
        dxf::writeFileAtomically(p, base);
        return p;
    }();
    return path;
}

void BM_Open(benchmark::State &state)
{
    const fs::path &path = bigDrawing();
    for (auto _ : state) {
        cadhost::Drawing d;
        dxf::DrawingFile f = dxf::DrawingFile::load(dxf::readFile(path), d);
        benchmark::DoNotOptimize(f.document().size());
    }
    state.counters["file_MB"] = double(fs::file_size(path)) / 1e6;
}
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond)->Iterations(3);

cadhost::EntityId lastText(const cadhost::Drawing &d)
{
    const auto &ms = d.modelSpace();
    for (auto it = ms.rbegin(); it != ms.rend(); ++it)
        if (d.entity(*it)->kind == cadhost::EntityKind::Text)
            return *it;
    return 0;
}

void BM_ChangeOneStringAndSave(benchmark::State &state)
{
    const fs::path &path = bigDrawing();
    cadhost::Drawing d;
    dxf::DrawingFile f = dxf::DrawingFile::load(dxf::readFile(path), d);
    const cadhost::EntityId id = lastText(d);
    int n = 0;
    for (auto _ : state) {
        d.modify(id, u"TextString",
                 [&](cadhost::Entity &e) { e.text = u"変更 " + std::u16string(1, char16_t(u'0' + n++ % 10)); });
        f.save(d, workDir() / "big_saved.dxf");
    }
}
BENCHMARK(BM_ChangeOneStringAndSave)->Unit(benchmark::kMillisecond)->Iterations(3);

// One open + change + save in a fresh process (this program with
// --measure-memory): its peak resident size against the file size.
void BM_PeakMemory(benchmark::State &state)
{
    const fs::path &path = bigDrawing();
    long peakKb = 0;
    for (auto _ : state)
        peakKb = std::stol(run("/proc/" + std::to_string(getpid()) + "/exe --measure-memory " + path.string()));
    const double fileMb = double(fs::file_size(path)) / 1e6;
    state.counters["peak_MB"] = double(peakKb) * 1024 / 1e6;
    state.counters["file_MB"] = fileMb;
    state.counters["peak_per_file"] = double(peakKb) * 1024 / 1e6 / fileMb;
}
BENCHMARK(BM_PeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

// ezdxf (Debian's python3-ezdxf) opening and saving the same file.
void BM_EzdxfOpenAndSave(benchmark::State &state)
{
    const fs::path &path = bigDrawing();
    double open = 0, save = 0;
    for (auto _ : state) {
        const std::string out
            = run(std::string(TALVO_PYTHON)
                  + " -c \"import sys, time, ezdxf\n"
                    "t0 = time.perf_counter(); doc = ezdxf.readfile(sys.argv[1]); t1 = time.perf_counter()\n"
                    "doc.entitydb[doc.modelspace()[0].dxf.handle].dxf.layer = '0'\n"
                    "doc.saveas(sys.argv[2]); t2 = time.perf_counter()\n"
                    "print(t1 - t0, t2 - t1)\" "
                  + path.string() + " " + (workDir() / "big_ezdxf.dxf").string());
        std::sscanf(out.c_str(), "%lf %lf", &open, &save);
        state.SetIterationTime(open + save);
    }
    state.counters["open_s"] = open;
    state.counters["save_s"] = save;
}
BENCHMARK(BM_EzdxfOpenAndSave)->Unit(benchmark::kMillisecond)->Iterations(1)->UseManualTime();

int measureMemory(const char *path)
{
    cadhost::Drawing d;
    dxf::DrawingFile f = dxf::DrawingFile::load(dxf::readFile(path), d);
    d.modify(lastText(d), u"TextString", [](cadhost::Entity &e) { e.text = u"変更"; });
    f.save(d, workDir() / "big_memory.dxf");
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%ld\n", usage.ru_maxrss);
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && std::string(argv[1]) == "--measure-memory")
        return measureMemory(argv[2]);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
