#pragma once

namespace mapvine {

// What the document tells the application about itself beyond the picture.
// The document only says what happened; the application decides what it
// means for its timers.
class DocumentListener {
 public:
  virtual ~DocumentListener() = default;

  // The document holds another picture: a file was loaded, or a new picture
  // took the place of one that could not be. Its settings, with the auto
  // refresh and its period, are the new picture's.
  virtual void PictureLoaded() = 0;
  // A refresh run has ended, however it ended.
  virtual void RefreshFinished() = 0;
};

}  // namespace mapvine
