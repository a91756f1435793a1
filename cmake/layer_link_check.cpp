// The main of the layer check programs (see Layers.cmake): they are linked, never run.
int main()
{
    return 0;
}
