#pragma once

#include "model/CLink.h"
#include "model/CNode.h"
#include "dialogs/DetailTexts.h"
#include "model/MapvineDoc.h"

namespace mapvine {

// What OK in a detail dialog writes back. Only the name and the status
// boxes are ever used; everything else the user may have typed is ignored.
// Each answers whether the node or link changed, and marks the document
// modified when it did. The caller redraws (NodeChanged) afterwards.

// Node form: the name box renames the node when it holds a plain name (no
// ".", not empty); the status box sets its status when it holds one of the
// status words. Then the node's image follows its status, and an end node or
// LU passes the status on to its links.
bool ApplyDetailEdits(CMapvineDoc& doc, CNode& node, const NodeDetailTexts& texts);
// Directory form: as the node form, but the status is left as it is.
bool ApplyDetailEdits(CMapvineDoc& doc, CNode& node, const DirectoryDetailTexts& texts);
// Link forms: the status box sets the link's status; names are not used.
bool ApplyDetailEdits(CMapvineDoc& doc, CLink& link, const TgDetailTexts& texts);
bool ApplyDetailEdits(CMapvineDoc& doc, CLink& link, const LinkDetailTexts& texts);

}  // namespace mapvine
