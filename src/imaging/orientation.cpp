#include "imaging/orientation.h"

#include <QTransform>

namespace pelorin {

QImage oriented(const QImage &image, int orientation)
{
    // Mirror, flip and a quarter turn clockwise, in that order.
    static const struct
    {
        bool mirror, flip, turn;
    } steps[9] = {{false, false, false}, {false, false, false}, {true, false, false},
                  {true, true, false},   {false, true, false},  {false, true, true},
                  {false, false, true},  {true, false, true},   {true, true, true}};
    if (orientation < 1 || orientation > 8)
        return image;
    const auto &step = steps[orientation];
    QImage result = (step.mirror || step.flip) ? image.mirrored(step.mirror, step.flip) : image;
    if (step.turn)
        result = result.transformed(QTransform().rotate(90));
    return result;
}

} // namespace pelorin
