#pragma once
// Placing a holder's picture on the system clipboard.

namespace pelorin {

class ImageComponent;
class Picture;

// A bitmap goes as an image; a metafile as its metafile data plus a rendered image; an
// empty picture places nothing and reports nothing; an icon cannot be placed and raises
// pelorin::Error (the clipboard is left unchanged).
void CopyImageToClipboard(const ImageComponent &component);
void CopyImageToClipboard(const Picture &picture);

} // namespace pelorin
