// Calls the function the Greeter plug-in published.
Host.print(greet("Bellwick"));
