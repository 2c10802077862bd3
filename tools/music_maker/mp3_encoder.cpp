#include "music_maker/mp3_encoder.h"

#include <lame/lame.h>

#include <algorithm>
#include <memory>

bool EncodeMp3(const std::vector<int16_t>& mono, int sampleRate, std::vector<uint8_t>& out,
               std::string& error) {
  std::unique_ptr<lame_global_flags, int (*)(lame_global_flags*)> lame(lame_init(), lame_close);
  if (!lame) {
    error = "lame could not start";
    return false;
  }
  lame_set_in_samplerate(lame.get(), sampleRate);
  lame_set_out_samplerate(lame.get(), sampleRate);
  lame_set_num_channels(lame.get(), 1);
  lame_set_mode(lame.get(), MONO);
  lame_set_brate(lame.get(), 96);
  lame_set_quality(lame.get(), 5);
  if (lame_init_params(lame.get()) < 0) {
    error = "lame rejected the settings";
    return false;
  }
  out.clear();
  constexpr size_t Block = 8192;
  std::vector<unsigned char> buffer(Block * 5 / 4 + 7200);
  std::vector<short> samples(mono.begin(), mono.end());
  for (size_t at = 0; at < samples.size(); at += Block) {
    const int n = static_cast<int>(std::min(Block, samples.size() - at));
    const int written = lame_encode_buffer(lame.get(), samples.data() + at, samples.data() + at, n,
                                           buffer.data(), static_cast<int>(buffer.size()));
    if (written < 0) {
      error = "lame failed to encode (" + std::to_string(written) + ")";
      return false;
    }
    out.insert(out.end(), buffer.begin(), buffer.begin() + written);
  }
  const int tail = lame_encode_flush(lame.get(), buffer.data(), static_cast<int>(buffer.size()));
  if (tail < 0) {
    error = "lame failed to finish";
    return false;
  }
  out.insert(out.end(), buffer.begin(), buffer.begin() + tail);
  return true;
}
