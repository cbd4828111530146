#ifndef YMHARNESS_H
#define YMHARNESS_H

// What every test, benchmark and soak run sets up before it touches the board:
// the offscreen platform's window warnings dropped (YmPlatformMessageFilter,
// shared with the demo host), the image bundles and the meta types registered.
class YmHarness
{
public:
    // Before or after the application exists; in a Qt Test from initTestCase,
    // after Qt Test has installed its own message handler. Calling it again
    // changes nothing.
    static void start();
};

#endif // YMHARNESS_H
