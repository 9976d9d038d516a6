// A shared library that is not a component server: it lacks the four entry points.
extern "C" int PlainFunction()
{
    return 1;
}
