velocity([770,104],[0	.5,889.390],[1.2.3,2396]);texture(1957.414);
randomsize(1433.579,770	);continiuous( 2175);
radius(2255)	;
FoO(540.447);continuous(-inf);continuous(2642.570);
particlec	 ount(ž.);


