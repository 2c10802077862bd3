#include "ui/text.h"

size_t TextRenderer::KeyHash::operator()(const Key& k) const {
  const FontSpec& f = std::get<0>(k);
  size_t h = std::hash<std::string>()(std::get<1>(k));
  auto mix = [&h](size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); };
  mix(static_cast<size_t>(f.face));
  mix(static_cast<size_t>(f.pixelHeight));
  mix(f.bold ? 1 : 2);
  mix(f.underline ? 3 : 4);
  mix(std::get<2>(k));
  return h;
}

std::shared_ptr<const RenderedText> TextRenderer::Rendered(const FontSpec& font, const std::string& text,
                                                           Color color) {
  Key key{font, text, (uint32_t{color.r} << 16) | (uint32_t{color.g} << 8) | color.b};
  auto it = renderings_.find(key);
  if (it != renderings_.end()) {
    order_.splice(order_.begin(), order_, it->second.second);
    return it->second.first;
  }
  auto made = std::make_shared<RenderedText>(fonts_.Render(font, text, color));
  order_.push_front(key);
  renderings_.emplace(key, Entry{made, order_.begin()});
  pixels_ += made->argb.size();
  while ((pixels_ > kMaxPixels || renderings_.size() > kMaxEntries) && order_.size() > 1) {
    auto last = renderings_.find(order_.back());
    pixels_ -= last->second.first->argb.size();
    renderings_.erase(last);
    order_.pop_back();
  }
  return made;
}

void TextRenderer::DrawLine(Image& target, const FontSpec& font, const std::string& text, Color color,
                            int x, int y) {
  if (text.empty()) return;
  auto rendered = Rendered(font, text, color);
  if (rendered->width > 0) target.BlendArgb(rendered->argb, rendered->width, rendered->height, x, y);
}

int TextRenderer::Width(const FontSpec& font, const std::string& text) {
  if (text.empty()) return 0;
  Key key{font, text, 0};
  auto it = widths_.find(key);
  if (it != widths_.end()) return it->second;
  int w = 0, h = 0;
  fonts_.Measure(font, text, w, h);
  if (widths_.size() > kMaxWidths) widths_.clear();
  widths_.emplace(std::move(key), w);
  return w;
}

std::vector<std::string> TextRenderer::Wrap(const FontSpec& font, const std::string& text, int width) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (true) {
    size_t end = text.find('\n', start);
    std::string paragraph = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!paragraph.empty() && paragraph.back() == '\r') paragraph.pop_back();
    if (width <= 0 || Width(font, paragraph) <= width) {
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
        if (Width(font, line + piece) <= width) {
          line += piece;
          continue;
        }
        if (!line.empty()) lines.push_back(line);
        std::string word = wordStart == std::string::npos ? std::string() : paragraph.substr(wordStart, wordEnd - wordStart);
        line.clear();
        for (char c : word) {
          if (!line.empty() && Width(font, line + c) > width) {
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
