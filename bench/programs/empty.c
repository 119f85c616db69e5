/* An empty Windows console program: running it under Wine measures Wine's own
   start-up and shutdown. */
int main(void) { return 0; }
