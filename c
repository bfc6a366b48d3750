Typed by Ostrel
