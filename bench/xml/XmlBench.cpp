// XmlDocument throughput on a big macro set file (~5 MB): loading (read, decode, parse),
// parsing alone, reading every element and attribute, and building and saving such a file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "common/text/WideText.h"
#include "common/xml/XmlDocument.h"

namespace {

using cursorial::XmlDocument;

constexpr int kMacros = 4800;
constexpr int kEventsPerMacro = 20;

std::filesystem::path BenchFolder() {
    const auto dir = std::filesystem::temp_directory_path() / "cursorial_bench_xml";
    std::filesystem::create_directories(dir);
    return dir;
}

// The text of a macro set file in the given encoding (UTF-8 or GBK), made of macro elements
// that each hold key events, one tag per line as the program writes them.
std::string MacroFileText(bool gbk) {
    std::string text = std::string("<?xml version=\"1.0\" encoding=\"") + (gbk ? "GBK" : "UTF-8") +
                       "\"?>\r\n<macros>\r\n";
    // "宏" (macro) in UTF-8 or GBK.
    const std::string word = gbk ? "\xBA\xEA" : "\xE5\xAE\x8F";
    for (int m = 0; m < kMacros; ++m) {
        text += "<macro name=\"" + word + " " + std::to_string(m) + " &amp; co\" index=\"" +
                std::to_string(m) + "\" loop=\"1\" mode=\"0\">\r\n";
        for (int e = 0; e < kEventsPerMacro; ++e) {
            text += "<event type=\"1\" code=\"" + std::to_string(4 + e) + "\" down=\"" +
                    std::to_string(e % 2) + "\" delay=\"" + std::to_string(10 + e) + "\"/>\r\n";
        }
        text += "</macro>\r\n";
    }
    text += "</macros>\r\n";
    return text;
}

const std::filesystem::path& MacroFile(bool gbk) {
    static const std::filesystem::path paths[2] = {
        [] {
            auto p = BenchFolder() / "macros_utf8.xml";
            std::ofstream(p, std::ios::binary) << MacroFileText(false);
            return p;
        }(),
        [] {
            auto p = BenchFolder() / "macros_gbk.xml";
            std::ofstream(p, std::ios::binary) << MacroFileText(true);
            return p;
        }(),
    };
    return paths[gbk ? 1 : 0];
}

void BM_LoadFile(benchmark::State& state) {
    const auto& path = MacroFile(state.range(0) != 0);
    for (auto _ : state) {
        XmlDocument doc;
        if (!doc.LoadFile(path))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(doc.GetText().data());
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<int64_t>(std::filesystem::file_size(path)));
    state.SetLabel(state.range(0) != 0 ? "GBK through iconv" : "UTF-8");
}
BENCHMARK(BM_LoadFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_SetText(benchmark::State& state) {
    const std::u16string text = cursorial::FromUtf8(MacroFileText(false));
    for (auto _ : state) {
        XmlDocument doc;
        if (!doc.SetText(text))
            state.SkipWithError("parse failed");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size() * 2));
    state.SetLabel("bytes of UTF-16 text");
}
BENCHMARK(BM_SetText)->Unit(benchmark::kMillisecond);

void BM_ReadEveryAttribute(benchmark::State& state) {
    XmlDocument doc;
    doc.LoadFile(MacroFile(false));
    int64_t reads = 0;
    for (auto _ : state) {
        doc.SetText(std::u16string(doc.GetText()));
        doc.FindElement(u"macros");
        doc.EnterElement();
        while (doc.FindElement(u"macro")) {
            benchmark::DoNotOptimize(doc.GetAttribute(u"name"));
            benchmark::DoNotOptimize(cursorial::TextToInt(doc.GetAttribute(u"index")));
            doc.EnterElement();
            while (doc.FindElement(u"event")) {
                for (const char16_t* name : {u"type", u"code", u"down", u"delay"}) {
                    benchmark::DoNotOptimize(cursorial::TextToInt(doc.GetAttribute(name)));
                }
                reads += 4;
            }
            doc.LeaveElement();
            reads += 2;
        }
    }
    state.SetItemsProcessed(reads);
    state.SetLabel("parse + every attribute");
}
BENCHMARK(BM_ReadEveryAttribute)->Unit(benchmark::kMillisecond);

void BM_BuildAndSave(benchmark::State& state) {
    const auto path = BenchFolder() / "built.xml";
    for (auto _ : state) {
        XmlDocument doc;
        doc.SetText(u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n");
        doc.AddElement(u"macros");
        doc.EnterElement();
        for (int m = 0; m < kMacros; ++m) {
            doc.AddElement(u"macro");
            doc.SetAttribute(u"name", u"宏 " + cursorial::IntToText(m) + u" & co");
            doc.SetAttribute(u"index", m);
            doc.SetAttribute(u"loop", 1);
            doc.SetAttribute(u"mode", 0);
            doc.EnterElement();
            for (int e = 0; e < kEventsPerMacro; ++e) {
                doc.AddElement(u"event");
                doc.SetAttribute(u"type", 1);
                doc.SetAttribute(u"code", 4 + e);
                doc.SetAttribute(u"down", e % 2);
                doc.SetAttribute(u"delay", 10 + e);
            }
            doc.LeaveElement();
        }
        if (!doc.SaveFile(path))
            state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(BM_BuildAndSave)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
