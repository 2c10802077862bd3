// Font files, the open fonts and text rendering through SDL_ttf.
#include "platform/fonts.h"

#include <SDL_ttf.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <tuple>
#include <vector>

#include "base/files.h"

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

std::string FirstFile(const std::vector<std::string>& paths) {
  for (const std::string& p : paths)
    if (IsFile(p)) return p;
  return {};
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
  bool plain = std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
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

FontFiles FontFiles::System() {
  FontFiles f;
  f.title = {"/usr/share/fonts/opentype/comic-neue/ComicNeue-Regular.otf",
             "/usr/share/fonts/truetype/comic-neue/ComicNeue-Regular.ttf",
             "/usr/share/fonts/opentype/comic-neue/ComicNeue-Bold.otf"};
  f.titleBold = {"/usr/share/fonts/opentype/comic-neue/ComicNeue-Bold.otf",
                 "/usr/share/fonts/truetype/comic-neue/ComicNeue-Bold.ttf"};
  f.plain = {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"};
  f.plainBold = {"/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
                 "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"};
  return f;
}

struct FontLibrary::Impl {
  FontFiles candidates;
  bool ttfStarted = false;
  std::map<std::pair<bool, bool>, std::string> files;  // (title, bold) -> file
  // Open fonts by (title, bold, underline, size); a title face that cannot be opened
  // borrows the plain face under its own key.
  std::map<std::tuple<bool, bool, bool, int>, TTF_Font*> open;
  std::vector<TTF_Font*> owned;
  // Each face file read once: every size opens from memory and loads its glyphs without
  // a seek and a read of the file per glyph.
  std::map<std::string, std::vector<uint8_t>> fileBytes;

  TTF_Font* OpenFile(const std::string& path, int size) {
    auto it = fileBytes.find(path);
    if (it == fileBytes.end()) {
      std::vector<uint8_t> bytes;
      std::string error;
      if (!ReadWholeFile(path, bytes, error)) bytes.clear();
      it = fileBytes.emplace(path, std::move(bytes)).first;
    }
    if (it->second.empty()) return TTF_OpenFont(path.c_str(), size);
    SDL_RWops* memory = SDL_RWFromConstMem(it->second.data(), static_cast<int>(it->second.size()));
    return memory ? TTF_OpenFontRW(memory, 1, size) : nullptr;
  }

  std::string Resolve(bool title, bool bold) {
    std::string path;
    if (title) {
      path = FirstFile(bold ? candidates.titleBold : candidates.title);
      if (path.empty() && !candidates.title.empty()) {
        path = FcMatch(bold ? "Comic Neue:bold" : "Comic Neue");
        // fc-match answers with its default face when the title face is missing.
        if (path.find("omic") == std::string::npos) path.clear();
      }
    }
    if (path.empty()) path = FirstFile(bold ? candidates.plainBold : candidates.plain);
    if (path.empty()) path = FcMatch(bold ? "DejaVu Sans:bold" : "DejaVu Sans");
    if (path.empty()) path = FcMatch("sans");
    return path;
  }

  const std::string& File(bool title, bool bold) {
    auto key = std::make_pair(title, bold);
    auto it = files.find(key);
    if (it == files.end()) it = files.emplace(key, Resolve(title, bold)).first;
    return it->second;
  }

  TTF_Font* Open(const FontSpec& wanted) {
    if (!ttfStarted) return nullptr;
    const bool title = wanted.face == FontFace::Title;
    const int size = std::max(wanted.pixelHeight, 1);
    const auto key = std::make_tuple(title, wanted.bold, wanted.underline, size);
    auto it = open.find(key);
    if (it != open.end()) return it->second;
    const std::string& path = File(title, wanted.bold);
    TTF_Font* font = path.empty() ? nullptr : OpenFile(path, size);
    if (font) {
      TTF_SetFontHinting(font, TTF_HINTING_NORMAL);
      if (wanted.underline) TTF_SetFontStyle(font, TTF_STYLE_UNDERLINE);
      owned.push_back(font);
    } else if (title) {
      FontSpec plain = wanted;
      plain.face = FontFace::Plain;
      font = Open(plain);
    }
    open[key] = font;
    return font;
  }
};

FontLibrary::FontLibrary(FontFiles files) : impl_(std::make_unique<Impl>()) {
  impl_->candidates = std::move(files);
  impl_->ttfStarted = TTF_Init() == 0;  // counted: each library ends its own start
}

FontLibrary::~FontLibrary() {
  for (TTF_Font* f : impl_->owned) TTF_CloseFont(f);
  if (impl_->ttfStarted) TTF_Quit();
}

std::string FontLibrary::FileFor(const FontSpec& font) {
  return impl_->File(font.face == FontFace::Title, font.bold);
}

void FontLibrary::Measure(const FontSpec& font, const std::string& text, int& width, int& height) {
  width = 0;
  height = font.pixelHeight;
  TTF_Font* f = impl_->Open(font);
  if (!f) return;
  height = TTF_FontHeight(f);
  if (text.empty()) return;
  int w = 0, h = 0;
  if (TTF_SizeUTF8(f, ToUtf8(text).c_str(), &w, &h) == 0) {
    width = w;
    height = h;
  }
}

RenderedText FontLibrary::Render(const FontSpec& font, const std::string& text, Color color) {
  RenderedText out;
  TTF_Font* f = impl_->Open(font);
  if (!f || text.empty()) return out;
  SDL_Surface* rendered =
      TTF_RenderUTF8_Blended(f, ToUtf8(text).c_str(), SDL_Color{color.r, color.g, color.b, 255});
  if (!rendered) return out;
  SDL_Surface* surface = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(rendered);
  if (!surface) return out;
  out.argb.resize(static_cast<size_t>(surface->w) * surface->h);
  SDL_LockSurface(surface);
  for (int y = 0; y < surface->h; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(surface->pixels) +
                                                        static_cast<size_t>(y) * surface->pitch);
    std::copy(row, row + surface->w, out.argb.begin() + static_cast<ptrdiff_t>(y) * surface->w);
  }
  SDL_UnlockSurface(surface);
  out.width = surface->w;
  out.height = surface->h;
  SDL_FreeSurface(surface);
  return out;
}

int FontLibrary::Height(const FontSpec& font) {
  TTF_Font* f = impl_->Open(font);
  return f ? TTF_FontHeight(f) : font.pixelHeight;
}

int FontLibrary::LineSkip(const FontSpec& font) {
  TTF_Font* f = impl_->Open(font);
  return f ? TTF_FontLineSkip(f) : font.pixelHeight;
}
