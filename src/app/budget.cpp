// The size rules an image must meet to become a texture.
#include "app/budget.h"

std::string sizeProblem(long width, long height, long largest)
{
    if (width <= 0 || height <= 0)
        return "the image has no pixels (" + std::to_string(width) + "x" + std::to_string(height) + ")";
    const std::string size = "the image is " + std::to_string(width) + "x" + std::to_string(height);
    if (width > largest || height > largest)
        return size + ", larger than the largest texture this OpenGL can hold (" + std::to_string(largest) +
               " on a side)";
    // The sides first: then the product cannot overflow.
    if (width > kBudgetSide || height > kBudgetSide || width * height > kBudgetPixels)
        return size + ", over the budget of " + std::to_string(kBudgetPixels) + " pixels (2048x2048) and " +
               std::to_string(kBudgetSide) + " on a side that an image may have";
    return "";
}
