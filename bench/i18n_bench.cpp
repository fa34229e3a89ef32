// One catalogue load as a language change does it: read the file, decode,
// index, and 114 searches from the start. Arguments: language numbers of a
// UTF-8 file (2, English), a UTF-8 file with mark (1, Chinese) and a UTF-16
// file (10, Russian).
#include <benchmark/benchmark.h>

#include "i18n/catalogue.h"
#include "i18n/languages.h"
#include "platform/paths.h"

namespace q30x {
namespace {

void BM_LoadCatalogue(benchmark::State& st) {
    const Language* language = findLanguage(static_cast<int>(st.range(0)));
    const std::string path = joinPath(Q30X_DATA_DIR, std::string(language->file));
    StringCatalogue strings;
    for (auto _ : st) benchmark::DoNotOptimize(strings.LoadCatalogue(path));
    st.SetLabel(std::string(language->file));
}
BENCHMARK(BM_LoadCatalogue)->Arg(2)->Arg(1)->Arg(10)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace q30x
