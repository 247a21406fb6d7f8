#pragma once

namespace test
{
// Gives the test's board an empty /dev/lcd and the generated fonts in
// /usr/app, as the LCD driver expects them.
void prepareLcdBoard();
}
