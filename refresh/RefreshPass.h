#pragma once

#include <cstddef>
#include <vector>

#include "model/MapvineDoc.h"
#include "protocol/NodeAnswers.h"
#include "protocol/VerbBlock.h"
#include "refresh/RefreshProgress.h"

namespace mapvine {

// One refresh pass: reads the topology database and the directory from the
// node and feeds every network node, connection network, TG, end node and
// LU to the document. Nodes and links are never removed by a refresh, so a
// query that fails leaves the picture as it was; the outcome says which.
RefreshOutcome dorefresh(CMapvineDoc& doc, const SnaCtlFunction& snaCtl);
// The same pass over answers already fetched; it empties their tables.
// `progress` is told of each record taken in.
RefreshOutcome dorefresh(CMapvineDoc& doc, NodeAnswers& answers,
                         RefreshProgress* progress = nullptr);

// The same pass taken in a few records at a time, so that the window paints
// and handles input between the slices. The answers move in; the document
// must stay alive until the pass is done.
class RefreshPassSlices {
 public:
  RefreshPassSlices(CMapvineDoc& doc, NodeAnswers answers, RefreshProgress* progress);
  RefreshPassSlices(const RefreshPassSlices&) = delete;
  RefreshPassSlices& operator=(const RefreshPassSlices&) = delete;

  // Takes in at most `records` more records; true once all are in.
  bool Continue(std::size_t records);
  // Ends the pass once Continue took everything in, or leaves the records
  // not yet taken in out. It goes over the whole picture (the report round,
  // the canvas laid out at its final size), so a window gives it a turn of
  // its own rather than the end of the last slice.
  void Finish();
  const RefreshOutcome& Outcome() const { return answers_.outcome; }

 private:
  CMapvineDoc& doc_;
  NodeAnswers answers_;
  RefreshProgress* progress_;
  std::size_t topologyCount_;
  std::size_t next_ = 0;  // over the topology entries, then over the LUs
  int done_ = 0;
  bool finished_ = false;
  // End nodes arrive with the directory, after the topology: their TGs wait
  // for them rather than missing from the picture until the next refresh.
  std::vector<const TgRecordBytes*> waitingTgs_;
  std::size_t nextWaitingTg_ = 0;  // they are linked in slices too
};

}  // namespace mapvine
