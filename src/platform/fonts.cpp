// Font files, the open-font cache and text rendering through SDL_ttf.
#include <SDL_ttf.h>
#include <sys/stat.h>

#include <cctype>
#include <cstdio>
#include <list>
#include <map>
#include <tuple>
#include <unordered_map>

#include "platform/controls.h"
#include "platform/text_layout.h"

namespace {

bool IsFile(const std::string& path) {
  struct stat st;
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string FcMatch(const char* pattern) {
  std::string command = std::string("fc-match -f '%{file}' '") + pattern + "' 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return {};
  std::string out;
  char buffer[512];
  while (fgets(buffer, sizeof buffer, pipe)) out += buffer;
  pclose(pipe);
  return IsFile(out) ? out : std::string();
}

std::string FirstFile(std::initializer_list<const char*> paths) {
  for (const char* p : paths)
    if (IsFile(p)) return p;
  return {};
}

bool IsComic(const std::string& face) {
  static const char kWord[] = "comic";
  for (size_t i = 0; i + 5 <= face.size(); ++i) {
    size_t k = 0;
    while (k < 5 && std::tolower(static_cast<unsigned char>(face[i + k])) == kWord[k]) ++k;
    if (k == 5) return true;
  }
  return false;
}

std::string ResolveFontFile(bool comic, bool bold) {
  std::string path;
  if (comic) {
    path = bold ? FirstFile({"/usr/share/fonts/opentype/comic-neue/ComicNeue-Bold.otf",
                             "/usr/share/fonts/truetype/comic-neue/ComicNeue-Bold.ttf"})
                : FirstFile({"/usr/share/fonts/opentype/comic-neue/ComicNeue-Regular.otf",
                             "/usr/share/fonts/truetype/comic-neue/ComicNeue-Regular.ttf",
                             "/usr/share/fonts/opentype/comic-neue/ComicNeue-Bold.otf"});
    if (path.empty()) {
      path = FcMatch(bold ? "Comic Neue:bold" : "Comic Neue");
      // fc-match answers with its default face when Comic Neue is missing.
      if (path.find("omic") == std::string::npos) path.clear();
    }
  }
  if (path.empty())
    path = bold ? FirstFile({"/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
                             "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"})
                : FirstFile({"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"});
  if (path.empty()) path = FcMatch(bold ? "DejaVu Sans:bold" : "DejaVu Sans");
  if (path.empty()) path = FcMatch("sans");
  return path;
}

const std::string& FontFile(bool comic, bool bold) {
  static std::map<std::pair<bool, bool>, std::string> files;
  auto key = std::make_pair(comic, bold);
  auto it = files.find(key);
  if (it == files.end()) it = files.emplace(key, ResolveFontFile(comic, bold)).first;
  return it->second;
}

struct FontCloser {
  void operator()(TTF_Font* f) const {
    if (f && TTF_WasInit()) TTF_CloseFont(f);
  }
};

// Fonts stay open for the life of the program: the game uses a handful of sizes.
// A face whose file is missing borrows DejaVu's font under its own key.
TTF_Font* OpenFont(const FontSpec& wanted) {
  if (!TTF_WasInit() && TTF_Init() != 0) return nullptr;
  using Key = std::tuple<bool, bool, bool, int>;
  static std::map<Key, TTF_Font*> byKey;
  static std::vector<std::unique_ptr<TTF_Font, FontCloser>> owned;
  int size = wanted.pixelHeight > 0 ? wanted.pixelHeight : 1;
  Key key{IsComic(wanted.face), wanted.bold, wanted.underline, size};
  auto it = byKey.find(key);
  if (it != byKey.end()) return it->second;
  const std::string& path = FontFile(std::get<0>(key), wanted.bold);
  TTF_Font* font = path.empty() ? nullptr : TTF_OpenFont(path.c_str(), size);
  if (font) {
    TTF_SetFontHinting(font, TTF_HINTING_NORMAL);
    if (wanted.underline) TTF_SetFontStyle(font, TTF_STYLE_UNDERLINE);
    owned.emplace_back(font);
  } else if (std::get<0>(key)) {
    FontSpec plain = wanted;
    plain.face = "MS Sans Serif";
    font = OpenFont(plain);
  }
  byKey[key] = font;
  return font;
}

// True for text that holds UTF-8 sequences and nothing else beyond ASCII.
bool IsMultibyteUtf8(const std::string& s) {
  bool multibyte = false;
  for (size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    size_t extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : 9;
    if (extra == 9 || i + extra >= s.size()) return false;
    for (size_t k = 1; k <= extra; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    multibyte = multibyte || extra > 0;
    i += extra + 1;
  }
  return multibyte;
}

std::string ToUtf8(const std::string& text) {
  bool plain = true;
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) plain = false;
  if (plain || IsMultibyteUtf8(text)) return text;
  std::string out;
  for (char ch : text) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out += ch;
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}



}  // namespace

std::string FontFileFor(const FontSpec& font) { return FontFile(IsComic(font.face), font.bold); }

void MeasureText(const FontSpec& font, const std::string& text, int& width, int& height) {
  width = 0;
  height = font.pixelHeight;
  TTF_Font* f = OpenFont(font);
  if (!f) return;
  height = TTF_FontHeight(f);
  if (text.empty()) return;
  int w = 0, h = 0;
  if (TTF_SizeUTF8(f, ToUtf8(text).c_str(), &w, &h) == 0) {
    width = w;
    height = h;
  }
}

std::vector<uint32_t> RenderText(const FontSpec& font, const std::string& text, Color color,
                                 int& width, int& height) {
  width = 0;
  height = 0;
  TTF_Font* f = OpenFont(font);
  if (!f || text.empty()) return {};
  SDL_Surface* rendered =
      TTF_RenderUTF8_Blended(f, ToUtf8(text).c_str(), SDL_Color{color.r, color.g, color.b, 255});
  if (!rendered) return {};
  SDL_Surface* surface = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(rendered);
  if (!surface) return {};
  std::vector<uint32_t> argb(static_cast<size_t>(surface->w) * surface->h);
  SDL_LockSurface(surface);
  for (int y = 0; y < surface->h; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(surface->pixels) +
                                                        static_cast<size_t>(y) * surface->pitch);
    std::copy(row, row + surface->w, argb.begin() + static_cast<ptrdiff_t>(y) * surface->w);
  }
  SDL_UnlockSurface(surface);
  width = surface->w;
  height = surface->h;
  SDL_FreeSurface(surface);
  return argb;
}

namespace {

using RenderKey = std::tuple<std::string, int, bool, bool, std::string, uint32_t>;

struct RenderKeyHash {
  size_t operator()(const RenderKey& k) const {
    size_t h = std::hash<std::string>()(std::get<0>(k));
    auto mix = [&h](size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); };
    mix(static_cast<size_t>(std::get<1>(k)));
    mix(std::get<2>(k) ? 1 : 2);
    mix(std::get<3>(k) ? 3 : 4);
    mix(std::hash<std::string>()(std::get<4>(k)));
    mix(std::get<5>(k));
    return h;
  }
};

// Least recently used renderings are dropped once the cache holds too many pixels.
class RenderCache {
 public:
  std::shared_ptr<const RenderedText> Get(const FontSpec& font, const std::string& text, Color color) {
    RenderKey key{IsComic(font.face) ? "comic" : "sans", font.pixelHeight, font.bold, font.underline,
                  text, (uint32_t{color.r} << 16) | (uint32_t{color.g} << 8) | color.b};
    auto it = entries_.find(key);
    if (it != entries_.end()) {
      order_.splice(order_.begin(), order_, it->second.second);
      return it->second.first;
    }
    auto made = std::make_shared<RenderedText>();
    made->argb = RenderText(font, text, color, made->width, made->height);
    order_.push_front(key);
    entries_.emplace(key, std::make_pair(made, order_.begin()));
    pixels_ += made->argb.size();
    while ((pixels_ > kMaxPixels || entries_.size() > kMaxEntries) && order_.size() > 1) {
      auto last = entries_.find(order_.back());
      pixels_ -= last->second.first->argb.size();
      entries_.erase(last);
      order_.pop_back();
    }
    return made;
  }

 private:
  static constexpr size_t kMaxPixels = 4u << 20;
  static constexpr size_t kMaxEntries = 2048;
  std::list<RenderKey> order_;
  std::unordered_map<RenderKey,
                     std::pair<std::shared_ptr<const RenderedText>, std::list<RenderKey>::iterator>,
                     RenderKeyHash>
      entries_;
  size_t pixels_ = 0;
};

}  // namespace

std::shared_ptr<const RenderedText> RenderTextCached(const FontSpec& font, const std::string& text,
                                                     Color color) {
  static RenderCache cache;
  return cache.Get(font, text, color);
}

void DrawTextLine(Image& target, const FontSpec& font, const std::string& text, Color color, int x,
                  int y) {
  if (text.empty()) return;
  auto rendered = RenderTextCached(font, text, color);
  if (rendered->width > 0) target.BlendArgb(rendered->argb, rendered->width, rendered->height, x, y);
}

int TextWidth(const FontSpec& font, const std::string& text) {
  if (text.empty()) return 0;
  static std::unordered_map<RenderKey, int, RenderKeyHash> widths;
  RenderKey key{IsComic(font.face) ? "comic" : "sans", font.pixelHeight, font.bold, font.underline,
                text, 0};
  auto it = widths.find(key);
  if (it != widths.end()) return it->second;
  int w = 0, h = 0;
  MeasureText(font, text, w, h);
  if (widths.size() > 8192) widths.clear();
  widths.emplace(key, w);
  return w;
}

int FontHeight(const FontSpec& font) {
  TTF_Font* f = OpenFont(font);
  return f ? TTF_FontHeight(f) : font.pixelHeight;
}

int LineHeight(const FontSpec& font) {
  TTF_Font* f = OpenFont(font);
  return f ? TTF_FontLineSkip(f) : font.pixelHeight;
}

std::vector<std::string> WrapText(const FontSpec& font, const std::string& text, int width) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (true) {
    size_t end = text.find('\n', start);
    std::string paragraph = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!paragraph.empty() && paragraph.back() == '\r') paragraph.pop_back();
    if (width <= 0 || TextWidth(font, paragraph) <= width) {
      lines.push_back(paragraph);
    } else {
      std::string line;
      size_t i = 0;
      while (i < paragraph.size()) {
        // One word with the blanks before it.
        size_t wordStart = paragraph.find_first_not_of(' ', i);
        size_t wordEnd = wordStart == std::string::npos ? paragraph.size() : paragraph.find(' ', wordStart);
        if (wordEnd == std::string::npos) wordEnd = paragraph.size();
        std::string piece = paragraph.substr(i, wordEnd - i);
        i = wordEnd;
        if (TextWidth(font, line + piece) <= width) {
          line += piece;
          continue;
        }
        if (!line.empty()) lines.push_back(line);
        std::string word = wordStart == std::string::npos ? std::string() : paragraph.substr(wordStart, wordEnd - wordStart);
        line.clear();
        for (char c : word) {
          if (!line.empty() && TextWidth(font, line + c) > width) {
            lines.push_back(line);
            line.clear();
          }
          line += c;
        }
      }
      lines.push_back(line);
    }
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}
