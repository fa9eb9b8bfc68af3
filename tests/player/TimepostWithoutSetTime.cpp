// A library that is not Timepost: it lacks SetTime.
extern "C" __attribute__((visibility("default"))) int SomethingElse() { return 0; }
