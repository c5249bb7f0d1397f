// Placeholder: the generator writes nothing yet.
int main() { return 0; }
