// do_nothing.cpp - the cheapest process there is: the benchmark's measure of what starting one costs.
int main()
{
    return 0;
}
