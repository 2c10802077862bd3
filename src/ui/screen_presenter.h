#pragma once
// Presenting: tells what changed on the screen since it was last shown (announced
// canvas drawing, controls whose look changed, modal layers opened, closed or
// changed), composes only that into a screen picture kept as long as the app, and
// hands the changed rectangles to the window, at most about once per display refresh.
#include <cstdint>
#include <string>
#include <vector>

#include "base/image.h"
#include "base/rect.h"
#include "ui/app_state.h"
#include "ui/damage.h"

// How much presenting work was done (a running game must stay cheap).
struct PresentStats {
  uint64_t fullComposes = 0;     // the whole screen composed
  uint64_t partialComposes = 0;  // one changed rectangle composed
  uint64_t presents = 0;         // pictures handed to the display
};

class ScreenPresenter {
 public:
  static constexpr uint64_t kRefreshMs = 16;

  explicit ScreenPresenter(AppState& state) : state_(state) {}

  // A check is due: a refresh has passed since the last one (or it is forced). When
  // it has not, the check is owed and NextCheckMs says when to come back.
  bool CheckDue(uint64_t nowMs, bool force);
  // An owed check will find something to show. A check that would find nothing is
  // forgotten, so that a waiting loop wakes for it only when it matters.
  bool PresentOwed();
  uint64_t NextCheckMs() const { return lastCheckMs_ + kRefreshMs; }
  // Composes and presents whatever changed (nothing at all when nothing did); true
  // when a picture went to the display.
  bool Present();
  // The next present recomposes everything (display switch, title).
  void InvalidateAll() { wholeScreen_ = true; }
  // Forgets a form that is going away.
  void FormGone(const Form* form);
  // A fresh composition of the whole screen, as the player sees it.
  Image ComposeWhole() const;
  const PresentStats& Stats() const { return stats_; }

 private:
  // A layer as last shown, to tell what changed.
  struct ShownLayer {
    const Form* form = nullptr;
    const MessageBoxState* box = nullptr;
    uint64_t boxHash = 0;
    Rect area;
    BoxLayout layout;  // boxes only
  };
  void CollectDamage();
  void CollectLayerDamage();
  void Refresh(ShownLayer& shown, const ModalLayer& layer, bool isNew);
  uint64_t BoxHash(const MessageBoxState& box) const;
  void ComposeArea(const Rect& area);
  void ComposeForm(const Form& form, int originX, int originY, const Rect& area);

  AppState& state_;
  Image screen_;   // what the window shows
  Image scratch_;  // where one layer of an area is painted; elsewhere, leftovers
  DamageList damage_;
  std::vector<ShownLayer> shownLayers_;
  const Form* shownForm_ = nullptr;
  int shownFormWidth_ = 0, shownFormHeight_ = 0;
  bool wholeScreen_ = true;
  bool checkedOnce_ = false;
  bool owed_ = false;
  uint64_t lastCheckMs_ = 0;
  PresentStats stats_;
};
