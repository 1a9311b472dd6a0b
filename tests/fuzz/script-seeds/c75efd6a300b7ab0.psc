// a comment ('with quotes') and (brackets)
inertia(1e,-136.21	5,-1191,X7f);
