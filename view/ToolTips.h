#pragma once

#include <QString>

#include "render/PictureIndex.h"

namespace mapvine {

// The text a tooltip shows for what lies at picture point `at`: a node's
// name, kind, status and the LUs it folds; a link's ends, TG number and
// status. Empty over the background.
QString ToolTipAt(PictureIndex& index, Point at);

}  // namespace mapvine
