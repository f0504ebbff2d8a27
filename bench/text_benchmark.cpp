// Speed of the text layer on large inputs: searching by character against a
// plain byte search, code-page conversion both ways against one raw iconv
// pass on Chinese-heavy, mixed and ASCII text, and the linear rewriting
// operations at two sizes. Run with --benchmark_repetitions and
// --benchmark_enable_random_interleaving to alternate ours and the yardsticks.
#include <benchmark/benchmark.h>
#include <iconv.h>

#include <random>
#include <string>
#include <string_view>

#include "text/codepage.h"
#include "text/text.h"
#include "text/url_encode.h"

namespace kelvorat {
namespace {

constexpr std::size_t kMiB = 1 << 20;

// Mixed code page 936 text: ASCII words and runs of Chinese characters,
// spaces between them and "\r\n" every line or so; no lone lead byte at the end.
Text MixedText(std::size_t size, unsigned seed = 7) {
  std::mt19937 random(seed);
  Text text;
  text.reserve(size + 16);
  std::size_t lineStart = 0;
  while (text.size() < size) {
    if (random() % 2 == 0) {
      for (unsigned n = 3 + random() % 6; n > 0; --n) text += static_cast<char>('a' + random() % 26);
    } else {
      for (unsigned n = 2 + random() % 5; n > 0; --n) {
        text += static_cast<char>(0xB0 + random() % 0x27);  // hanzi rows B0..D6, all assigned
        text += static_cast<char>(0xA1 + random() % 0x5E);
      }
    }
    if (text.size() - lineStart > 70) {
      text += "\r\n";
      lineStart = text.size();
    } else {
      text += ' ';
    }
  }
  std::size_t cut = 0;
  for (std::size_t i = 0; i < size; i += static_cast<unsigned char>(text[i]) >= 0x80 ? 2 : 1) cut = i;
  text.resize(static_cast<unsigned char>(text[cut]) >= 0x80 && cut + 2 <= size ? cut + 2 : cut + 1);
  return text;
}

// Two 8-byte targets: Chinese ("域名正常", whose lead bytes are frequent in the
// text) and ASCII.
const Text kTargets[] = {"\xD3\xF2\xC3\xFB\xD5\xFD\xB3\xA3", "ua-token"};

// The text, with the target placed near its end (present) or nowhere.
Text SearchText(const Text& target, bool present) {
  Text text = MixedText(kMiB - 64);
  if (text.find(target) != Text::npos) std::abort();
  if (present) text += " " + target + " ";
  text += MixedText(64 - 2 - target.size(), 8);
  return text;
}

void SetSearchLabel(benchmark::State& state) {
  state.SetLabel(std::string(state.range(0) == 0 ? "gbk" : "ascii") + (state.range(1) ? " present" : " absent"));
}

void BM_FindText(benchmark::State& state) {
  const Text& target = kTargets[state.range(0)];
  const Text text = SearchText(target, state.range(1) != 0);
  for (auto _ : state) benchmark::DoNotOptimize(FindText(text, target));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
  SetSearchLabel(state);
}

void BM_StringViewFind(benchmark::State& state) {
  const Text& target = kTargets[state.range(0)];
  const Text text = SearchText(target, state.range(1) != 0);
  for (auto _ : state) benchmark::DoNotOptimize(std::string_view(text).find(target));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
  SetSearchLabel(state);
}

// The plain walk, for comparison: compare at every character start.
int PlainWalkFind(std::string_view text, std::string_view target) {
  for (std::size_t i = 0; i + target.size() <= text.size();
       i += static_cast<unsigned char>(text[i]) >= 0x80 ? 2 : 1) {
    if (text.compare(i, target.size(), target) == 0) return static_cast<int>(i) + 1;
  }
  return -1;
}

void BM_PlainWalkFind(benchmark::State& state) {
  const Text& target = kTargets[state.range(0)];
  const Text text = SearchText(target, state.range(1) != 0);
  for (auto _ : state) benchmark::DoNotOptimize(PlainWalkFind(text, target));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
  SetSearchLabel(state);
}

// The worst case for jumping between first bytes: every character starts
// with the target's first byte and the compare fails late (1 MiB of one
// repeated character).
const Text kDenseTarget = "\xB0\xA1\xB0\xA1\xB0\xA1\xB0\xA2";
const Text kDenseText = [] {
  Text text;
  while (text.size() < kMiB) text += "\xB0\xA1";
  return text;
}();

void BM_FindTextDense(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(FindText(kDenseText, kDenseTarget));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kDenseText.size()));
}
void BM_PlainWalkFindDense(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(PlainWalkFind(kDenseText, kDenseTarget));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kDenseText.size()));
}
void BM_StringViewFindDense(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(std::string_view(kDenseText).find(kDenseTarget));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kDenseText.size()));
}
BENCHMARK(BM_FindTextDense)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainWalkFindDense)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StringViewFindDense)->Unit(benchmark::kMicrosecond);

#define SEARCH_ARGS ->Args({0, 0})->Args({0, 1})->Args({1, 0})->Args({1, 1})->Unit(benchmark::kMicrosecond)
BENCHMARK(BM_FindText) SEARCH_ARGS;
BENCHMARK(BM_StringViewFind) SEARCH_ARGS;
BENCHMARK(BM_PlainWalkFind) SEARCH_ARGS;

// The conversion texts, each 1 MiB in code page 936: Chinese-heavy (runs of
// characters, a full-width comma now and then, a line break every line or
// so), mixed (MixedText) and ASCII (words, spaces and line breaks).
enum class Kind { kChinese, kMixed, kAscii };
const char* const kKindNames[] = {"chinese", "mixed", "ascii"};

Text ConversionText(Kind kind, unsigned seed = 11) {
  if (kind == Kind::kMixed) return MixedText(kMiB, seed);
  std::mt19937 random(seed);
  Text text;
  text.reserve(kMiB + 16);
  std::size_t lineStart = 0;
  while (text.size() < kMiB - 80) {
    if (kind == Kind::kChinese) {
      for (unsigned n = 4 + random() % 12; n > 0; --n) {
        text += static_cast<char>(0xB0 + random() % 0x27);
        text += static_cast<char>(0xA1 + random() % 0x5E);
      }
      text += "\xA3\xAC";  // full-width comma
    } else {
      for (unsigned n = 2 + random() % 8; n > 0; --n) text += static_cast<char>('a' + random() % 26);
      text += ' ';
    }
    if (text.size() - lineStart > 70) {
      text += "\r\n";
      lineStart = text.size();
    }
  }
  return text;
}

// The same text in UTF-8, cut to 1 MiB at a character boundary.
Text ConversionUtf8(Kind kind) {
  Text utf8 = AnsiToUtf8(ConversionText(kind) + ConversionText(kind, 12));
  utf8.resize(kMiB);
  while (!utf8.empty() && (static_cast<unsigned char>(utf8.back()) & 0xC0) == 0x80) utf8.pop_back();
  if (!utf8.empty() && static_cast<unsigned char>(utf8.back()) >= 0xC0) utf8.pop_back();
  return utf8;
}

// The yardstick: one raw iconv pass into a buffer made ready beforehand.
void RawIconvPass(benchmark::State& state, const char* to, const char* from, const Text& input) {
  iconv_t cd = iconv_open(to, from);
  Text out(input.size() * 3, '\0');
  for (auto _ : state) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char* target = out.data();
    std::size_t outLeft = out.size();
    if (iconv(cd, &in, &inLeft, &target, &outLeft) == static_cast<std::size_t>(-1)) state.SkipWithError("iconv");
    benchmark::DoNotOptimize(target);
    benchmark::ClobberMemory();
  }
  iconv_close(cd);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
  state.SetLabel(kKindNames[state.range(0)]);
}

Kind KindOf(const benchmark::State& state) { return static_cast<Kind>(state.range(0)); }

void BM_Utf8ToAnsi(benchmark::State& state) {
  const Text utf8 = ConversionUtf8(KindOf(state));
  for (auto _ : state) benchmark::DoNotOptimize(Utf8ToAnsi(utf8));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * utf8.size()));
  state.SetLabel(kKindNames[state.range(0)]);
}

void BM_RawIconvUtf8ToCp936(benchmark::State& state) {
  RawIconvPass(state, "CP936", "UTF-8", ConversionUtf8(KindOf(state)));
}

void BM_AnsiToUtf8(benchmark::State& state) {
  const Text ansi = ConversionText(KindOf(state));
  for (auto _ : state) benchmark::DoNotOptimize(AnsiToUtf8(ansi));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * ansi.size()));
  state.SetLabel(kKindNames[state.range(0)]);
}

void BM_RawIconvCp936ToUtf8(benchmark::State& state) {
  RawIconvPass(state, "UTF-8", "CP936", ConversionText(KindOf(state)));
}

#define CONVERSION_ARGS ->DenseRange(0, 2)->Unit(benchmark::kMicrosecond)
BENCHMARK(BM_Utf8ToAnsi) CONVERSION_ARGS;
BENCHMARK(BM_RawIconvUtf8ToCp936) CONVERSION_ARGS;
BENCHMARK(BM_AnsiToUtf8) CONVERSION_ARGS;
BENCHMARK(BM_RawIconvCp936ToUtf8) CONVERSION_ARGS;

void BM_ReplaceText(benchmark::State& state) {
  const Text text = MixedText(static_cast<std::size_t>(state.range(0)) * kMiB);
  for (auto _ : state) benchmark::DoNotOptimize(ReplaceText(text, "\r\n", "\n", true));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_SplitText(benchmark::State& state) {
  const Text text = MixedText(static_cast<std::size_t>(state.range(0)) * kMiB);
  for (auto _ : state) benchmark::DoNotOptimize(SplitText(text, "\r\n"));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_UrlEncodeText(benchmark::State& state) {
  const Text text = MixedText(static_cast<std::size_t>(state.range(0)) * kMiB);
  for (auto _ : state) benchmark::DoNotOptimize(UrlEncodeText(text));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

// Sizes in MiB: the time should grow about 8 times from 1 to 8.
BENCHMARK(BM_ReplaceText)->Arg(1)->Arg(8)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SplitText)->Arg(1)->Arg(8)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UrlEncodeText)->Arg(1)->Arg(8)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kelvorat

BENCHMARK_MAIN();
