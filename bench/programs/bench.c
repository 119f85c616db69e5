/* The program whose icon the benchmark replaces. It never runs. */
int main(void) { return 0; }
