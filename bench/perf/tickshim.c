// LD_PRELOAD shim: timestamps the main loop of an SDL program.
// Build: gcc -O2 -shared -fPIC -o /tmp/tickshim.so tickshim.c -ldl -lpthread
// Use:   TICKSHIM_LOG=/tmp/x.log LD_PRELOAD=/tmp/tickshim.so ./program
// Records (one per line, monotonic ns):
//   S t_ns req_ns got_ns        main-thread nanosleep/clock_nanosleep (requested, actual)
//   P t_ns dur_ns               SDL_RenderPresent, SDL_UpdateWindowSurface(Rects) (SDL2) /
//                               SDL_Flip, SDL_UpdateRect(s) (SDL1.2)
//   M t_ns ret                  Mix_PlayingMusic or, for MIDI on one synthesizer,
//                               fluid_player_get_status on the main thread (the game loop
//                               asks once per world tick whether music plays)
//   C t_ns dur_ns ret           Mix_PlayMusic or fluid_player_play (a music piece starts)
//   H t_ns dur_ns               Mix_HaltMusic
//   A t_ns frames rms peak      audio post-mix statistics since the last A record (every ~1 s of audio)
// A program that opens its sound libraries itself (dlopen, RTLD_LOCAL) and looks the
// functions up with dlsym gets these same wrappers from the shim's dlsym.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <math.h>
#include <pthread.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

static FILE* logf_;
static pid_t main_tid;
static pthread_mutex_t mu = PTHREAD_MUTEX_INITIALIZER;
static unsigned marks;

static uint64_t now_ns(void) {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return (uint64_t)ts.tv_sec * 1000000000ull + (uint64_t)ts.tv_nsec;
}

static int is_main(void) { return (pid_t)syscall(SYS_gettid) == main_tid; }

// The C library's dlsym, under the one this shim defines.
static void* (*real_dlsym)(void*, const char*);
static void find_real_dlsym(void) {
  if (!real_dlsym) real_dlsym = dlvsym(RTLD_NEXT, "dlsym", "GLIBC_2.34");
  if (!real_dlsym) real_dlsym = dlvsym(RTLD_NEXT, "dlsym", "GLIBC_2.2.5");
}
static void* next_symbol(const char* name) {
  find_real_dlsym();
  return real_dlsym ? real_dlsym(RTLD_NEXT, name) : NULL;
}

__attribute__((constructor)) static void init(void) {
  const char* path = getenv("TICKSHIM_LOG");
  main_tid = getpid();
  logf_ = fopen(path ? path : "/tmp/tickshim.log", "w");
  if (logf_) setvbuf(logf_, NULL, _IOFBF, 1 << 16);
}

__attribute__((destructor)) static void fini(void) {
  if (logf_) fflush(logf_);
}

#define LOG(...)                          \
  do {                                    \
    if (logf_) {                          \
      pthread_mutex_lock(&mu);            \
      fprintf(logf_, __VA_ARGS__);        \
      pthread_mutex_unlock(&mu);          \
    }                                     \
  } while (0)

static void maybe_flush(void) {
  if (++marks % 32 == 0 && logf_) {
    pthread_mutex_lock(&mu);
    fflush(logf_);
    pthread_mutex_unlock(&mu);
  }
}

// ---- sleeps ----
int nanosleep(const struct timespec* req, struct timespec* rem) {
  static int (*real)(const struct timespec*, struct timespec*);
  if (!real) real = dlsym(RTLD_NEXT, "nanosleep");
  if (!is_main()) return real(req, rem);
  uint64_t t0 = now_ns();
  int r = real(req, rem);
  uint64_t t1 = now_ns();
  LOG("S %llu %llu %llu\n", (unsigned long long)t0,
      (unsigned long long)(req->tv_sec * 1000000000ull + req->tv_nsec), (unsigned long long)(t1 - t0));
  return r;
}

int clock_nanosleep(clockid_t clk, int flags, const struct timespec* req, struct timespec* rem) {
  static int (*real)(clockid_t, int, const struct timespec*, struct timespec*);
  if (!real) real = dlsym(RTLD_NEXT, "clock_nanosleep");
  if (!is_main()) return real(clk, flags, req, rem);
  uint64_t t0 = now_ns();
  int r = real(clk, flags, req, rem);
  uint64_t t1 = now_ns();
  LOG("S %llu %llu %llu\n", (unsigned long long)t0,
      flags ? 0ull : (unsigned long long)(req->tv_sec * 1000000000ull + req->tv_nsec),
      (unsigned long long)(t1 - t0));
  return r;
}

// ---- presents ----
void SDL_RenderPresent(void* renderer) {
  static void (*real)(void*);
  if (!real) real = dlsym(RTLD_NEXT, "SDL_RenderPresent");
  uint64_t t0 = now_ns();
  real(renderer);
  LOG("P %llu %llu\n", (unsigned long long)t0, (unsigned long long)(now_ns() - t0));
}

int SDL_UpdateWindowSurface(void* window) {
  static int (*real)(void*);
  if (!real) real = dlsym(RTLD_NEXT, "SDL_UpdateWindowSurface");
  uint64_t t0 = now_ns();
  int r = real(window);
  LOG("P %llu %llu\n", (unsigned long long)t0, (unsigned long long)(now_ns() - t0));
  return r;
}

int SDL_UpdateWindowSurfaceRects(void* window, const void* rects, int n) {
  static int (*real)(void*, const void*, int);
  if (!real) real = dlsym(RTLD_NEXT, "SDL_UpdateWindowSurfaceRects");
  uint64_t t0 = now_ns();
  int r = real(window, rects, n);
  LOG("P %llu %llu\n", (unsigned long long)t0, (unsigned long long)(now_ns() - t0));
  return r;
}

int SDL_Flip(void* screen) {
  static int (*real)(void*);
  if (!real) real = dlsym(RTLD_NEXT, "SDL_Flip");
  uint64_t t0 = now_ns();
  int r = real(screen);
  LOG("P %llu %llu\n", (unsigned long long)t0, (unsigned long long)(now_ns() - t0));
  return r;
}

void SDL_UpdateRect(void* screen, int x, int y, unsigned w, unsigned h) {
  static void (*real)(void*, int, int, unsigned, unsigned);
  if (!real) real = dlsym(RTLD_NEXT, "SDL_UpdateRect");
  uint64_t t0 = now_ns();
  real(screen, x, y, w, h);
  LOG("P %llu %llu\n", (unsigned long long)t0, (unsigned long long)(now_ns() - t0));
}

void SDL_UpdateRects(void* screen, int n, void* rects) {
  static void (*real)(void*, int, void*);
  if (!real) real = dlsym(RTLD_NEXT, "SDL_UpdateRects");
  uint64_t t0 = now_ns();
  real(screen, n, rects);
  LOG("P %llu %llu\n", (unsigned long long)t0, (unsigned long long)(now_ns() - t0));
}

// ---- music ----
static int (*real_Mix_PlayingMusic)(void);
static int (*real_fluid_player_get_status)(void*);
static int (*real_fluid_player_play)(void*);
static int (*real_Mix_PlayMusic)(void*, int);
static int (*real_Mix_HaltMusic)(void);
static int (*real_Mix_OpenAudio)(int, uint16_t, int, int);
static void (*real_Mix_SetPostMix)(void (*)(void*, uint8_t*, int), void*);

int Mix_PlayingMusic(void) {
  int (*real)(void) = real_Mix_PlayingMusic ? real_Mix_PlayingMusic : next_symbol("Mix_PlayingMusic");
  int r = real();
  LOG("M %llu %d\n", (unsigned long long)now_ns(), r);
  maybe_flush();
  return r;
}

int fluid_player_get_status(void* player) {
  int (*real)(void*) = real_fluid_player_get_status ? real_fluid_player_get_status : next_symbol("fluid_player_get_status");
  int r = real(player);
  if (is_main()) {
    LOG("M %llu %d\n", (unsigned long long)now_ns(), r);
    maybe_flush();
  }
  return r;
}

int fluid_player_play(void* player) {
  int (*real)(void*) = real_fluid_player_play ? real_fluid_player_play : next_symbol("fluid_player_play");
  uint64_t t0 = now_ns();
  int r = real(player);
  LOG("C %llu %llu %d\n", (unsigned long long)t0, (unsigned long long)(now_ns() - t0), r);
  return r;
}

int Mix_PlayMusic(void* music, int loops) {
  int (*real)(void*, int) = real_Mix_PlayMusic ? real_Mix_PlayMusic : next_symbol("Mix_PlayMusic");
  uint64_t t0 = now_ns();
  int r = real(music, loops);
  LOG("C %llu %llu %d\n", (unsigned long long)t0, (unsigned long long)(now_ns() - t0), r);
  return r;
}

int Mix_HaltMusic(void) {
  int (*real)(void) = real_Mix_HaltMusic ? real_Mix_HaltMusic : next_symbol("Mix_HaltMusic");
  uint64_t t0 = now_ns();
  int r = real();
  LOG("H %llu %llu\n", (unsigned long long)t0, (unsigned long long)(now_ns() - t0));
  return r;
}

// ---- audio output statistics (proves the music synth produces sound) ----
static double sumsq;
static int peak;
static uint64_t frames;
static int channels = 2;

static void postmix(void* udata, uint8_t* stream, int len) {
  (void)udata;
  const int16_t* s = (const int16_t*)stream;  // the game opens AUDIO_S16SYS
  int n = len / 2;
  for (int i = 0; i < n; ++i) {
    int v = s[i] < 0 ? -s[i] : s[i];
    if (v > peak) peak = v;
    sumsq += (double)s[i] * s[i];
  }
  frames += (uint64_t)(n / channels);
  if (frames >= 22050) {
    double rms = sqrt(sumsq / (double)(frames * channels));
    LOG("A %llu %llu %.1f %d\n", (unsigned long long)now_ns(), (unsigned long long)frames, rms, peak);
    sumsq = 0;
    peak = 0;
    frames = 0;
  }
}

int Mix_OpenAudio(int freq, uint16_t format, int ch, int chunk) {
  int (*real)(int, uint16_t, int, int) = real_Mix_OpenAudio ? real_Mix_OpenAudio : next_symbol("Mix_OpenAudio");
  void (*setpost)(void (*)(void*, uint8_t*, int), void*) =
      real_Mix_SetPostMix ? real_Mix_SetPostMix : next_symbol("Mix_SetPostMix");
  int r = real(freq, format, ch, chunk);
  channels = ch;
  if (r == 0 && setpost && !getenv("TICKSHIM_NO_POSTMIX")) setpost(postmix, NULL);
  return r;
}

// ---- functions looked up in a library the program opened itself ----
void* dlsym(void* handle, const char* name) {
  find_real_dlsym();
  if (!real_dlsym) return NULL;
  void* found = real_dlsym(handle, name);
  if (!found || handle == RTLD_NEXT || handle == RTLD_DEFAULT) return found;
#define WRAP(fn)                                   \
  if (strcmp(name, #fn) == 0) {                    \
    real_##fn = found;                             \
    return (void*)fn;                              \
  }
  WRAP(fluid_player_get_status)
  WRAP(fluid_player_play)
  WRAP(Mix_PlayingMusic)
  WRAP(Mix_PlayMusic)
  WRAP(Mix_HaltMusic)
  WRAP(Mix_OpenAudio)
#undef WRAP
  if (strcmp(name, "Mix_SetPostMix") == 0) real_Mix_SetPostMix = found;
  return found;
}
