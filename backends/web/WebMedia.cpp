#include "backends/web/WebMedia.h"

#include <emscripten.h>

// The page's wave player (audio.js) answers with the statuses of the wave side.
EM_ASYNC_JS(int, PagePlayWave, (const char* path, int loop),
            { return await OmbrevaleAudio.play(UTF8ToString(path), loop != 0); });
EM_JS(void, PageStopWave, (), { OmbrevaleAudio.stop(); });
EM_JS(int, PageWavePlaying, (), { return OmbrevaleAudio.playing() ? 1 : 0; });
EM_ASYNC_JS(void, PageWaitWave, (), { await OmbrevaleAudio.ended(); });

namespace ombrevale {

int32_t WebAudioWaves::Play(const std::string& path, bool loop) {
  return PagePlayWave(path.c_str(), loop ? 1 : 0);
}

void WebAudioWaves::Stop() {
  PageStopWave();
}

bool WebAudioWaves::Playing() {
  return PageWavePlaying() != 0;
}

void WebAudioWaves::WaitEnd() {
  PageWaitWave();
}

WebMedia::WebMedia() : service_(music_, waves_) {}

}  // namespace ombrevale
